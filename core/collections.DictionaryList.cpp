#include "core/collections.DictionaryList.h"

namespace velmo::core::collections {

void DictionaryList::add(const char* pszKey, const char* pszValue)
{
    *m_keys.addNew() = pszKey;
    *m_values.addNew() = pszValue;
}

void DictionaryList::add(const char* pszKey, std::int32_t nValue)
{
    *m_keys.addNew() = pszKey;
    m_values.addNew()->assign(nValue);
}

void DictionaryList::clear()
{
    m_keys.clear();
    m_values.clear();
}

}

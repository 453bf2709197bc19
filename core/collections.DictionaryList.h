#ifndef VELMO_CORE_COLLECTIONS_DICTIONARYLIST_H
#define VELMO_CORE_COLLECTIONS_DICTIONARYLIST_H

#include "core/String.h"
#include "core/collections.ObjectArray.h"

namespace velmo::core::collections {

// Key/value texts in insertion order; keys may repeat.
class DictionaryList : public object::Object {
public:
    void add(const char* pszKey, const char* pszValue);
    void add(const char* pszKey, const String& value) { add(pszKey, value.getBuffer()); }
    void add(const char* pszKey, std::int32_t nValue);
    void clear();

    std::int32_t getCount() const { return m_keys.getCount(); }
    const String& getKey(std::int32_t nIndex) const { return *m_keys.getItem(nIndex); }
    const String& getValue(std::int32_t nIndex) const { return *m_values.getItem(nIndex); }

private:
    ObjectArray<String> m_keys;
    ObjectArray<String> m_values;
};

}

#endif

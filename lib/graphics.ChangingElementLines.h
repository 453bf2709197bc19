#ifndef VELMO_LIB_GRAPHICS_CHANGINGELEMENTLINES_H
#define VELMO_LIB_GRAPHICS_CHANGINGELEMENTLINES_H

#include "core/collections.SimpleTypeArray.h"

#include <cstdint>

namespace velmo::lib::graphics {

// The current and the reference line of the two-dimensional coders as changing elements:
// [0] is the imaginary white element before the line, then the positions where the
// colour changes, the first change being to black. A line holds at most width + 8
// elements (those of the line and the end sentinels).
class ChangingElementLines {
public:
    // Current line [0], reference line the all-white line.
    void initialise(std::int32_t nWidth)
    {
        m_nWidth = nWidth;
        m_lineA.setCount(nWidth + 8);
        m_lineB.setCount(nWidth + 8);
        m_pCurrent = m_lineA.getData();
        m_pReference = m_lineB.getData();
        m_pCurrent[0] = 0;
        resetReference();
    }

    std::int32_t* getCurrent() { return m_pCurrent; }
    const std::int32_t* getReference() const { return m_pReference; }

    // The current line becomes the reference; the new current line is [0].
    void swap()
    {
        std::int32_t* pLine = m_pReference;
        m_pReference = m_pCurrent;
        m_pCurrent = pLine;
        m_pCurrent[0] = 0;
    }

    // The reference line of a strip's first line: all white (0, width and two sentinels).
    void resetReference()
    {
        m_pReference[0] = 0;
        m_pReference[1] = m_nWidth;
        m_pReference[2] = m_nWidth;
        m_pReference[3] = m_nWidth;
    }

private:
    std::int32_t m_nWidth = 0;
    core::collections::SimpleTypeArray<std::int32_t> m_lineA;
    core::collections::SimpleTypeArray<std::int32_t> m_lineB;
    std::int32_t* m_pCurrent = nullptr;
    std::int32_t* m_pReference = nullptr;
};

}

#endif

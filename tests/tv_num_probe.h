// Reaching the number's protected fields and workers, for the unit tests, the
// differential test's driver and the fuzz target (no GoogleTest here).
#ifndef TV_NUM_PROBE_H
#define TV_NUM_PROBE_H

#include "tvdcndf.h"

// A number whose protected members are reachable from the tests. Build one
// directly (NumProbe p("1.5")) to call a worker, or use the static readers on
// any clsNumDbFld.
struct NumProbe : clsNumDbFld {
    using clsNumDbFld::clsNumDbFld;
    using clsNumDbFld::operator=;
    NumProbe() = default;
    NumProbe(const clsNumDbFld& other) : clsNumDbFld(other) {}

    using clsNumDbFld::AddAbs;
    using clsNumDbFld::DivideBy;
    using clsNumDbFld::DivideCore;
    using clsNumDbFld::MultiplyBy;
    using clsNumDbFld::RoundTo;
    using clsNumDbFld::SetExponent;
    using clsNumDbFld::ShiftLeftDigit;
    using clsNumDbFld::ShiftRightDigit;
    using clsNumDbFld::SubtractAbs;

    static int Len(const clsNumDbFld& num) { return num.*(&NumProbe::m_nDbFldLen); }
    static int Scale(const clsNumDbFld& num) { return num.*(&NumProbe::m_nDbFldScale); }
    static const clsStrPlus& Data(const clsNumDbFld& num) { return num.*(&NumProbe::m_strData); }
    static const clsStrPlus& Work(const clsNumDbFld& num) { return num.*(&NumProbe::m_strWork); }
    static const clsStrPlus& Text(const clsNumDbFld& num) { return num.*(&NumProbe::m_strText); }
    // Sets the fields directly, without any check (as the division does).
    static void SetFields(clsNumDbFld& num, int nLen, int nScale)
    {
        num.*(&NumProbe::m_nDbFldLen) = nLen;
        num.*(&NumProbe::m_nDbFldScale) = nScale;
    }
};

#endif // TV_NUM_PROBE_H

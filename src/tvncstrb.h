// Character blocks, strings, the library's exception and error table, the
// text-to-integer parsers, the fixed-size block pool and the random helpers.
//
// Layers, lowest first:
//   clsRefCtObj / clsStrData / clsRefCtPtr  reference-counted character blocks
//   clsStrBase                              string over one private block
//   clsStrPlus                              strings from and to numbers
//   clsUtilException / aErrTable            error codes and messages
//   StrToLong / StrToULong                  strict decimal text to integers
//   PoolAllocFree                           small-object pools (unused by the rest)
//   RandomDouble / RandomInt                random values over rand()
#ifndef TVNCSTRB_H
#define TVNCSTRB_H

#include <climits>
#include <cstddef>
#include <exception>
#include <new>
#include <string>
#include <type_traits>

// ---------------------------------------------------------------------------
// Types of the interface.
// ---------------------------------------------------------------------------
typedef std::string CString;     // the standard string type
typedef std::string clsValDbFld; // a second name for it
typedef unsigned short USHORT;   // 16 bits
typedef unsigned int UINT;       // 32 bits
// Distinct from UINT so that the overloads for long and ULONG stay distinct.
// The values that leave the library as long or ULONG keep 32-bit bounds.
typedef unsigned long ULONG;

// ---------------------------------------------------------------------------
// Internal checks. Always on, in every build type: a failed one writes
// "!!(cond)", the file and the line to standard error and aborts. The text is
// the condition exactly as written at the call (stringified here, so nothing
// in it is macro-expanded).
// ---------------------------------------------------------------------------
[[noreturn]] void CheckFailed(const char* pszCond, const char* pszFile, int nLine);

// clang-format off
#define TV_ASSERT(cond) ((cond) ? (void)0 : CheckFailed("!!(" #cond ")", __FILE__, __LINE__))
// clang-format on

class clsNumDbFld;

// ---------------------------------------------------------------------------
// Reference-counted character blocks.
//
// A holder never shares a block that it counts: taking a block that another
// holder counts takes a clone. So every allocated block has exactly one holder
// (count 1), and only the static empty block (count 2, never counted, written
// or freed) is held by many strings.
// ---------------------------------------------------------------------------

// Takes nSiz bytes from the global heap; *pnActualAllocSiz gets the size given.
inline void* AllocStrMem(UINT nSiz, UINT* pnActualAllocSiz)
{
    void* p = ::operator new(nSiz);
    *pnActualAllocSiz = nSiz;
    return p;
}

// Returns a block of actual size nSiz to the global heap. The size goes to the
// heap's sized release, where the compiler offers one: it must be the size
// that AllocStrMem gave for p.
inline void FreeStrMem(void* p, UINT nSiz)
{
#if defined(__cpp_sized_deallocation)
    ::operator delete(p, static_cast<size_t>(nSiz));
#else
    (void)nSiz;
    ::operator delete(p);
#endif
}

class clsRefCtObj {
public:
    clsRefCtObj() : m_nRefCt(0) {}
    virtual ~clsRefCtObj() {}

    int GetRefCt() const { return m_nRefCt; }
    void AddRef()
    {
        TV_ASSERT(m_nRefCt >= 0);
        ++m_nRefCt;
    }
    // Drops one count; at 0 or less the object deletes itself.
    void Release()
    {
        if (--m_nRefCt <= 0)
            delete this;
    }
    int IsShared() const { return m_nRefCt > 1; }
    int IsUnshareable() const { return m_nRefCt == -1; }

protected:
    int m_nRefCt; // holders that count the object; -1 marks an unshareable one
};

// A block of characters: this header and its character area share one
// allocation whose size is a multiple of 16. m_ptrData[m_nDataLen] is always 0.
// The header takes 32 bytes, so the character area of an allocated block is a
// whole multiple of 16 bytes too, at least 16: the number code copies and
// checks packed values in 16-byte moves within it. The characters of every
// block, the shared empty one included (16 zero bytes), begin right after its
// header: Chars() finds them from the block's address alone.
class clsStrData final : public clsRefCtObj {
public:
    char* m_ptrData;  // first character: right after the header (Chars())
    int m_nDataLen;   // characters, inner zero bytes included
    int m_nAllocSiz;  // usable bytes of the character area; 0 for the empty block

    // Memory for a block of nDataLen characters: made by `new (n) clsStrData(n)`.
    static void* operator new(size_t uSiz, int nDataLen);
    // Matches the placement form above; used only when the constructor throws.
    static void operator delete(void* ptr, int nDataLen);
    // Returns a block through FreeStrMem with its actual size, which the
    // destructor has just noted in m_nFreeBlockSiz.
    static void operator delete(void* ptr, size_t uSiz)
    {
        // clang-format off
        TV_ASSERT(ptr && uSiz == sizeof( clsStrData ));
        // clang-format on
        FreeStrMem(ptr, m_nFreeBlockSiz);
    }

    // Sets the three members for a block of nDataLen characters made by the
    // operator new above; the characters themselves are left for the caller.
    explicit clsStrData(int nDataLen)
        : m_ptrData(reinterpret_cast<char*>(this) + sizeof(clsStrData)),
          m_nDataLen(nDataLen),
          m_nAllocSiz(static_cast<int>(BlockSize(nDataLen) - sizeof(clsStrData)))
    {
        m_ptrData[nDataLen] = 0;
    }
    ~clsStrData() override { m_nFreeBlockSiz = static_cast<UINT>(sizeof(clsStrData)) + static_cast<UINT>(m_nAllocSiz); }

    // The character area, which m_ptrData points to as well.
    char* Chars() { return reinterpret_cast<char*>(this) + sizeof(clsStrData); }
    const char* Chars() const { return reinterpret_cast<const char*>(this) + sizeof(clsStrData); }
    // clsRefCtObj::Release for a block: the same count, and at 0 or less the
    // same deletion, without the virtual call.
    void Release()
    {
        if (--m_nRefCt <= 0)
            delete this;
    }

    // A new block (count 0) with this block's characters, sized for its length.
    clsStrData* Clone() const;
    // The one shared empty block.
    static clsStrData* GetEmpty();

    // The allocation size for a block of nDataLen characters: the header plus
    // the characters plus the zero byte, rounded up to a multiple of 16.
    static UINT BlockSize(int nDataLen)
    {
        UINT nSiz = static_cast<UINT>(sizeof(clsStrData)) + static_cast<UINT>(nDataLen) + 1;
        return (nSiz + 15) & ~15u;
    }

private:
    // The actual size of the block being destroyed, read by its destructor
    // while the block still lives and handed to FreeStrMem by operator delete.
    static inline UINT m_nFreeBlockSiz = 0;

    struct EmptyTag {};
    struct EmptyBlock;
    explicit clsStrData(EmptyTag);
};

// The longest string, INT_MAX - 16 characters: a block's usable size is an int
// and must hold the characters and the zero byte after the rounding to 16
// bytes. An operation that would make a longer string (append, assignment,
// construction, repeat, write buffer, AdjustDecimals) throws std::length_error
// before it writes anything, and the string stays as it was.
constexpr int MAX_StrLen =
    static_cast<int>(((static_cast<long long>(INT_MAX) + static_cast<long long>(sizeof(clsStrData))) & ~15LL) -
                     static_cast<long long>(sizeof(clsStrData)) - 1);

inline void* clsStrData::operator new(size_t uSiz, int nDataLen)
{
    // clang-format off
    TV_ASSERT(uSiz == sizeof( clsStrData ));
    TV_ASSERT(nDataLen >= 0 && nDataLen <= MAX_StrLen);
    // clang-format on
    UINT nSiz = BlockSize(nDataLen);
    UINT nActualAllocSiz = 0;
    void* p = AllocStrMem(nSiz, &nActualAllocSiz);
    // The constructor derives the usable size from the length; the global
    // heap gives exactly what was asked.
    TV_ASSERT(nActualAllocSiz == nSiz);
    return p;
}

template <class T>
class clsRefCtPtr {
public:
    struct EmptyTag {};
    clsRefCtPtr(T* ptrObj) : m_ptrObj(ptrObj) { AddRefOrClone(); }
    // Holds the shared empty object, which is never counted.
    explicit clsRefCtPtr(EmptyTag) : m_ptrObj(GetEmptyObj()) {}
    clsRefCtPtr(const clsRefCtPtr& other) : m_ptrObj(other.m_ptrObj) { AddRefOrClone(); }
    ~clsRefCtPtr()
    {
        if (!IsUncounted(m_ptrObj))
            m_ptrObj->Release();
    }

    clsRefCtPtr& operator=(T* ptrObj)
    {
        if (ptrObj == m_ptrObj)
            return *this;
        // Make the new holding first: when the clone fails for lack of memory
        // this holder still holds, and counts, its old object.
        T* ptrNew = ptrObj;
        if (!IsUncounted(ptrNew) && (ptrNew->IsUnshareable() || ptrNew->GetRefCt() != 0))
            ptrNew = ptrNew->Clone();
        T* ptrOld = m_ptrObj;
        m_ptrObj = ptrNew;
        if (!IsUncounted(ptrNew))
            ptrNew->AddRef();
        if (!IsUncounted(ptrOld))
            ptrOld->Release();
        return *this;
    }
    clsRefCtPtr& operator=(const clsRefCtPtr& other) { return *this = other.m_ptrObj; }
    // Holds ptrNew, a new object (count 0) that nothing else holds, in place
    // of the object held so far, which is released: operator= for the one
    // case where no clone can be needed.
    void Adopt(T* ptrNew)
    {
        ptrNew->AddRef();
        T* ptrOld = m_ptrObj;
        m_ptrObj = ptrNew;
        if (!IsUncounted(ptrOld))
            ptrOld->Release();
    }
    T* operator->() const { return m_ptrObj; }
    T* Get() const { return m_ptrObj; }

    static T* GetEmptyObj() { return m_ptrEmptyObj ? m_ptrEmptyObj : InitEmptyObj(); }
    static T* InitEmptyObj()
    {
        if (!m_ptrEmptyObj)
            m_ptrEmptyObj = T::GetEmpty();
        return m_ptrEmptyObj;
    }

private:
    static bool IsUncounted(T* ptr) { return ptr == nullptr || ptr == m_ptrEmptyObj; }

    // Counts the held object, or a clone of it when another holder counts it
    // or it may not be shared.
    void AddRefOrClone()
    {
        if (IsUncounted(m_ptrObj))
            return;
        if (m_ptrObj->IsUnshareable() || m_ptrObj->GetRefCt() != 0)
            m_ptrObj = m_ptrObj->Clone();
        m_ptrObj->AddRef();
    }

    T* m_ptrObj;
    static T* m_ptrEmptyObj;
};

template <class T>
T* clsRefCtPtr<T>::m_ptrEmptyObj = nullptr;

// ---------------------------------------------------------------------------
// Strings.
// ---------------------------------------------------------------------------
// The length of a text (0 for a null pointer) or of a standard string; one
// longer than MAX_StrLen throws std::length_error.
int StrLenOrZero(const char* psz);
const char* FindChar(const char* psz, char ch);
const char* StdStrPtr(const CString& s);
int StdStrLen(const CString& s);

// A string: its characters in one block that only it counts (or the shared
// empty block), a zero byte after them. Copies copy the characters.
class clsStrBase {
    // The number writes its packed values straight into its string's block.
    friend class clsNumDbFld;

public:
    clsStrBase() : m_spstrData(clsRefCtPtr<clsStrData>::EmptyTag{}) {}
    clsStrBase(const clsStrBase& other);
    // A negative nLen takes pData up to its zero byte (0 for a null pointer).
    clsStrBase(const char* pData, int nLen);
    clsStrBase(char ch, int nRepeat);
    clsStrBase(const CString& s);
    ~clsStrBase() {}

    int GetLength() const { return m_spstrData->m_nDataLen; }
    int GetAllocSiz() const { return m_spstrData->m_nAllocSiz; }
    int IsEmpty() const { return GetLength() == 0; }
    int IsShared() const { return m_spstrData->IsShared(); }
    operator const char*() const { return m_spstrData->Chars(); }
    char GetAt(int nSubscript) const
    {
        TV_ASSERT(nSubscript >= 0);
        TV_ASSERT(nSubscript < GetLength());
        return m_spstrData->m_ptrData[nSubscript];
    }
    char operator[](int nSubscript) const { return GetAt(nSubscript); }
    // Index of the first ch in the zero-terminated text, -1 when there is none.
    int Find(char ch) const;
    // The first nCount characters (a negative count counts as 0).
    clsStrBase Left(int nCount) const;

    void Empty();
    clsStrBase& operator=(const clsStrBase& other);
    clsStrBase& operator=(const char* psz);
    clsStrBase& operator=(char ch);
    clsStrBase& operator=(const CString& s);
    clsStrBase& operator+=(const clsStrBase& other);
    clsStrBase& operator+=(const char* psz);
    clsStrBase& operator+=(char ch);
    clsStrBase& operator+=(const CString& s);
    void SetAt(int nSubscript, char ch);

    // A private buffer with room for at least nMinLen characters and a zero
    // byte; length and characters unchanged. End the edit with ReleaseWriteBuf.
    char* GetWriteBuf(int nMinLen)
    {
        if (IsShared() || nMinLen >= GetAllocSiz())
            return GrowWriteBuf(nMinLen);
        return m_spstrData->Chars();
    }
    // Sets the length after a write (-1: up to the first zero byte).
    void ReleaseWriteBuf(int nNewLen)
    {
        if (nNewLen < 0)
            nNewLen = StrLenOrZero(m_spstrData->Chars());
        SetLength(nNewLen);
    }

protected:
    void InitFrom(const char* pData, int nLen);
    void AllocData(int nLen);
    void AllocDataCopy(int nNewLen, const char* pData, int nDataLen);
    // GetWriteBuf for a string whose block is shared or too small: a new one.
    char* GrowWriteBuf(int nMinLen);
    void SetLength(int nDataLen)
    {
        // clang-format off
        TV_ASSERT(!IsShared() && nDataLen >= 0 && m_spstrData->m_nAllocSiz > nDataLen);
        // clang-format on
        m_spstrData->m_nDataLen = nDataLen;
        m_spstrData->Chars()[nDataLen] = 0;
    }
    void AssignData(const char* pData, int nLen);
    void AppendData(const char* pData, int nLen);
    void MakeUnshared();

    clsRefCtPtr<clsStrData> m_spstrData;
};

// Text comparison of strings, character by character (inner zero bytes
// included for two strings). The plain-text forms take only a character
// pointer, so that a number never converts into one of them.
int operator==(const clsStrBase& str1, const clsStrBase& str2);
int operator!=(const clsStrBase& str1, const clsStrBase& str2);
int StrTextEqual(const clsStrBase& str, const char* psz);

template <class T>
using EnableIfCharPtr =
    std::enable_if_t<std::is_same_v<T, const char*> || std::is_same_v<T, char*>, int>;

template <class T, EnableIfCharPtr<T> = 0>
int operator==(const clsStrBase& str, T psz)
{
    return StrTextEqual(str, psz);
}
template <class T, EnableIfCharPtr<T> = 0>
int operator==(T psz, const clsStrBase& str)
{
    return StrTextEqual(str, psz);
}
template <class T, EnableIfCharPtr<T> = 0>
int operator!=(const clsStrBase& str, T psz)
{
    return !StrTextEqual(str, psz);
}
template <class T, EnableIfCharPtr<T> = 0>
int operator!=(T psz, const clsStrBase& str)
{
    return !StrTextEqual(str, psz);
}

// The library's string class: clsStrBase plus the built-in numeric types.
// short, int and long are signed, USHORT, UINT and ULONG unsigned; the texts
// are those of the full value ('-32768', '4294967295').
class clsStrPlus : public clsStrBase {
public:
    clsStrPlus() {}
    clsStrPlus(const clsStrPlus& other) : clsStrBase(other) {}
    clsStrPlus(const clsStrBase& other) : clsStrBase(other) {}
    clsStrPlus(const char* pData, int nLen) : clsStrBase(pData, nLen) {}
    clsStrPlus(char ch, int nRepeat) : clsStrBase(ch, nRepeat) {}
    clsStrPlus(const CString& s) : clsStrBase(s) {}
    clsStrPlus(short n) { *this = n; }
    clsStrPlus(USHORT n) { *this = n; }
    clsStrPlus(int n) { *this = n; }
    clsStrPlus(UINT n) { *this = n; }
    clsStrPlus(long n) { *this = n; }
    clsStrPlus(ULONG n) { *this = n; }
    clsStrPlus(const double& d, int nDecimals) { AppendDouble(d, nDecimals); }
    // The text form of num. Explicit, so that a number compared with a string
    // reaches the number's own comparison operators.
    explicit clsStrPlus(const clsNumDbFld& num);

    clsStrPlus& operator=(const clsStrPlus& other)
    {
        clsStrBase::operator=(other);
        return *this;
    }
    clsStrPlus& operator=(const clsStrBase& other)
    {
        clsStrBase::operator=(other);
        return *this;
    }
    clsStrPlus& operator=(const char* psz)
    {
        clsStrBase::operator=(psz);
        return *this;
    }
    clsStrPlus& operator=(char ch)
    {
        clsStrBase::operator=(ch);
        return *this;
    }
    clsStrPlus& operator=(const CString& s)
    {
        clsStrBase::operator=(s);
        return *this;
    }
    clsStrPlus& operator=(short n) { return *this = static_cast<long>(n); }
    clsStrPlus& operator=(USHORT n) { return *this = static_cast<ULONG>(n); }
    clsStrPlus& operator=(int n) { return *this = static_cast<long>(n); }
    clsStrPlus& operator=(UINT n) { return *this = static_cast<ULONG>(n); }
    clsStrPlus& operator=(long n);
    clsStrPlus& operator=(ULONG n);
    // The text form of num.
    clsStrPlus& operator=(const clsNumDbFld& num);

    // Appends the decimal text of n ('-5' after 'x=' gives 'x=-5').
    clsStrPlus& AppendLong(long n);
    clsStrPlus& AppendULong(ULONG n);
    // Appends d as "%.*f" writes it in the "C" locale, whatever the program's
    // locale, with nDecimals decimals (at most 100); a negative count gives 8
    // decimals without trailing zeros: 0.125 gives '0.125'.
    clsStrPlus& AppendDouble(const double& d, int nDecimals);

    void TrimLeft(char ch);
    void TrimRight(char ch);
    // Pads with zeros up to nDecimals decimals or drops trailing zeros beyond
    // them; never rounds: ('1.5', 3) gives '1.500', ('2.50', 0) gives '2.5'.
    // Padding past MAX_StrLen throws std::length_error and changes nothing.
    void AdjustDecimals(UINT nDecimals);

    // Conversions of the text. Errors throw clsUtilException: -2043 for more
    // than one character, -2048 / -2049 out of the 16-bit ranges, and the codes
    // of StrToLong / StrToULong / CheckNumber. ToDouble gives atof's value in
    // the "C" locale, whatever the program's locale: ' -2.5 ' gives -2.5.
    char ToChar() const;
    short ToShort() const;
    USHORT ToUShort() const;
    int ToInt() const;
    UINT ToUInt() const;
    long ToLong() const;
    ULONG ToULong() const;
    double ToDouble() const;
    // Checks that the text is a decimal number and measures it: '0012.3400'
    // gives 4 digits and 2 decimals. Returns 0, -4031 (sign), -4024 (point) or
    // -4025 (digit expected); with bThrow the matching -2054, -2044, -2045 is
    // thrown instead, after the out-parameters are written.
    int CheckNumber(int* pnDigits, int* pnDecimals, int bThrow, int* pnErrPos) const;
};

// ---------------------------------------------------------------------------
// Errors.
// ---------------------------------------------------------------------------
struct ErrTableRow {
    int nErrCode;
    const char* pszErrMsg;
};
// The 31 codes and their messages, then the end row {0, nullptr}.
extern const ErrTableRow aErrTable[32];

// Neither building, copying nor what() allocates: the line is formed in a
// character array inside the object, so an exception raised, copied into a
// by-value handler and printed while memory is exhausted still works.
class clsUtilException : public std::exception {
public:
    explicit clsUtilException(int nErrCode) noexcept;
    clsUtilException(const clsUtilException& other) noexcept;
    ~clsUtilException() override;

    // "Error: %d  %s" with the code and its message ("Unknown Error" for a
    // code the table lacks); valid while the object lives and until the next call.
    const char* what() const noexcept override;
    // Copies the line into pszBuf (nMaxLen bytes, always terminated); *pnExtra
    // gets 0. A size of 0 leaves the buffer untouched. Returns 1.
    virtual int GetErrorText(char* pszBuf, UINT nMaxLen, UINT* pnExtra);

    int m_nErrCode;

private:
    // The longest line: "Error: ", an int code of up to 11 characters, two
    // blanks and the longest message of the table (76 characters, -2043).
    static constexpr int kMaxErrMsgLen = 7 + 11 + 2 + 76;
    // The line last formed by what(); empty until then.
    mutable char m_strErrMsg[kMaxErrMsgLen + 1];
};

// Throws clsUtilException(nErrCode); every library error goes through it.
[[noreturn]] void ThrowUtilException(int nErrCode);

// ---------------------------------------------------------------------------
// Strict decimal text to integers. With pnErr the status (0, -40xx) is stored
// there and nothing is thrown; without it a failure throws the matching -20xx.
// With pnEndPos trailing text ends the number ('12abc' reads 12, end 2).
// The magnitude is limited to 2147483647 (StrToLong) and 4294967295
// (StrToULong) whatever the width of long. A text of any length is read; an
// end position beyond INT_MAX, which *pnEndPos cannot hold, throws
// std::length_error before anything is stored.
// ---------------------------------------------------------------------------
long StrToLong(const char* psz, int* pnErr, int* pnEndPos);
ULONG StrToULong(const char* psz, int* pnErr, int* pnEndPos);

// ---------------------------------------------------------------------------
// Fixed-size block pool: elements of 32, 64, 128 and 256 bytes, in blocks of
// 16, with a free list per size. Nothing else in the library uses it.
// ---------------------------------------------------------------------------
class clsPoolBlock {
public:
    explicit clsPoolBlock(int nElemSiz);
    ~clsPoolBlock();
    clsPoolBlock(const clsPoolBlock&) = delete;
    clsPoolBlock& operator=(const clsPoolBlock&) = delete;

    clsPoolBlock* m_ptrNext;       // next block of the same pool
    unsigned char* m_ptrElems;     // 16 elements
};

class clsFixedPool {
public:
    explicit clsFixedPool(int nElemSiz);
    ~clsFixedPool();
    clsFixedPool(const clsFixedPool&) = delete;
    clsFixedPool& operator=(const clsFixedPool&) = delete;

    void* Alloc();
    void Free(void* p);

    // Lock hooks: the pools serve one thread, so they do nothing.
    void InitLock() {}
    void TermLock() {}
    void Lock() {}
    void Unlock() {}

    int m_nElemSiz;
    void* m_ptrFree;              // head of the free list (link in each element's first word)
    clsPoolBlock* m_ptrBlocks;    // newest block first
};

// Gives out (bAlloc non-zero) or takes back (bAlloc zero) nSiz bytes: up to 256
// from the smallest pool that fits, above that from the global heap. Taking
// back a null *pp does nothing.
void PoolAllocFree(int bAlloc, UINT nSiz, void** pp, UINT* pnActualAllocSiz);

// ---------------------------------------------------------------------------
// Random values over rand(), brought to 0..32767.
// ---------------------------------------------------------------------------
// dMin + r * (dMax - dMin) / 32767.0: r = 0 gives dMin, r = 32767 gives dMax.
double RandomDouble(double dMin, double dMax);
// nMin + r mod (nMax - nMin + 1).
int RandomInt(int nMin, int nMax);

#endif // TVNCSTRB_H

// Simulated code pages: Windows-1252 (the ANSI code page of a Western system, and the code page
// of a US keyboard layout) and UTF-8, and the conversions between them and UTF-16
// (MultiByteToWideChar, WideCharToMultiByte) with the platform's flags, answers and errors.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/sim/SimState.h"

namespace kwsim {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the rest of the code page is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The best-fit mappings of Windows-1252: characters outside the code page that it writes as a
// similar one ('ł' as 'l', a full-width '１' as '1', an en quad as a space) unless
// WC_NO_BEST_FIT_CHARS is given; everything else outside it becomes the default character.
// Measured one character at a time with WideCharToMultiByte(1252) under Wine 8 (the same
// table as the platform's published bestfit1252), sorted by character.
struct BestFit {
  char16_t wc;
  unsigned char byte;
};
constexpr BestFit kBestFit1252[] = {
    {0x0100, 0x41
}, {0x0101, 0x61
}, {0x0102, 0x41
}, {0x0103, 0x61
}, {0x0104, 0x41
}, {0x0105, 0x61
}, 
    {0x0106, 0x43
}, {0x0107, 0x63
}, {0x0108, 0x43
}, {0x0109, 0x63
}, {0x010A, 0x43
}, {0x010B, 0x63
}, 
    {0x010C, 0x43
}, {0x010D, 0x63
}, {0x010E, 0x44
}, {0x010F, 0x64
}, {0x0110, 0xD0
}, {0x0111, 0x64
}, 
    {0x0112, 0x45
}, {0x0113, 0x65
}, {0x0114, 0x45
}, {0x0115, 0x65
}, {0x0116, 0x45
}, {0x0117, 0x65
}, 
    {0x0118, 0x45
}, {0x0119, 0x65
}, {0x011A, 0x45
}, {0x011B, 0x65
}, {0x011C, 0x47
}, {0x011D, 0x67
}, 
    {0x011E, 0x47
}, {0x011F, 0x67
}, {0x0120, 0x47
}, {0x0121, 0x67
}, {0x0122, 0x47
}, {0x0123, 0x67
}, 
    {0x0124, 0x48
}, {0x0125, 0x68
}, {0x0126, 0x48
}, {0x0127, 0x68
}, {0x0128, 0x49
}, {0x0129, 0x69
}, 
    {0x012A, 0x49
}, {0x012B, 0x69
}, {0x012C, 0x49
}, {0x012D, 0x69
}, {0x012E, 0x49
}, {0x012F, 0x69
}, 
    {0x0130, 0x49
}, {0x0131, 0x69
}, {0x0134, 0x4A
}, {0x0135, 0x6A
}, {0x0136, 0x4B
}, {0x0137, 0x6B
}, 
    {0x0139, 0x4C
}, {0x013A, 0x6C
}, {0x013B, 0x4C
}, {0x013C, 0x6C
}, {0x013D, 0x4C
}, {0x013E, 0x6C
}, 
    {0x0141, 0x4C
}, {0x0142, 0x6C
}, {0x0143, 0x4E
}, {0x0144, 0x6E
}, {0x0145, 0x4E
}, {0x0146, 0x6E
}, 
    {0x0147, 0x4E
}, {0x0148, 0x6E
}, {0x014C, 0x4F
}, {0x014D, 0x6F
}, {0x014E, 0x4F
}, {0x014F, 0x6F
}, 
    {0x0150, 0x4F
}, {0x0151, 0x6F
}, {0x0154, 0x52
}, {0x0155, 0x72
}, {0x0156, 0x52
}, {0x0157, 0x72
}, 
    {0x0158, 0x52
}, {0x0159, 0x72
}, {0x015A, 0x53
}, {0x015B, 0x73
}, {0x015C, 0x53
}, {0x015D, 0x73
}, 
    {0x015E, 0x53
}, {0x015F, 0x73
}, {0x0162, 0x54
}, {0x0163, 0x74
}, {0x0164, 0x54
}, {0x0165, 0x74
}, 
    {0x0166, 0x54
}, {0x0167, 0x74
}, {0x0168, 0x55
}, {0x0169, 0x75
}, {0x016A, 0x55
}, {0x016B, 0x75
}, 
    {0x016C, 0x55
}, {0x016D, 0x75
}, {0x016E, 0x55
}, {0x016F, 0x75
}, {0x0170, 0x55
}, {0x0171, 0x75
}, 
    {0x0172, 0x55
}, {0x0173, 0x75
}, {0x0174, 0x57
}, {0x0175, 0x77
}, {0x0176, 0x59
}, {0x0177, 0x79
}, 
    {0x0179, 0x5A
}, {0x017A, 0x7A
}, {0x017B, 0x5A
}, {0x017C, 0x7A
}, {0x0180, 0x62
}, {0x0189, 0xD0
}, 
    {0x0191, 0x83
}, {0x0197, 0x49
}, {0x019A, 0x6C
}, {0x019F, 0x4F
}, {0x01A0, 0x4F
}, {0x01A1, 0x6F
}, 
    {0x01AB, 0x74
}, {0x01AE, 0x54
}, {0x01AF, 0x55
}, {0x01B0, 0x75
}, {0x01B6, 0x7A
}, {0x01C0, 0x7C
}, 
    {0x01C3, 0x21
}, {0x01CD, 0x41
}, {0x01CE, 0x61
}, {0x01CF, 0x49
}, {0x01D0, 0x69
}, {0x01D1, 0x4F
}, 
    {0x01D2, 0x6F
}, {0x01D3, 0x55
}, {0x01D4, 0x75
}, {0x01D5, 0x55
}, {0x01D6, 0x75
}, {0x01D7, 0x55
}, 
    {0x01D8, 0x75
}, {0x01D9, 0x55
}, {0x01DA, 0x75
}, {0x01DB, 0x55
}, {0x01DC, 0x75
}, {0x01DE, 0x41
}, 
    {0x01DF, 0x61
}, {0x01E4, 0x47
}, {0x01E5, 0x67
}, {0x01E6, 0x47
}, {0x01E7, 0x67
}, {0x01E8, 0x4B
}, 
    {0x01E9, 0x6B
}, {0x01EA, 0x4F
}, {0x01EB, 0x6F
}, {0x01EC, 0x4F
}, {0x01ED, 0x6F
}, {0x01F0, 0x6A
}, 
    {0x0261, 0x67
}, {0x02B9, 0x27
}, {0x02BA, 0x22
}, {0x02BC, 0x27
}, {0x02C4, 0x5E
}, {0x02C8, 0x27
}, 
    {0x02C9, 0xAF
}, {0x02CA, 0xB4
}, {0x02CB, 0x60
}, {0x02CD, 0x5F
}, {0x02DA, 0xB0
}, {0x0300, 0x60
}, 
    {0x0301, 0xB4
}, {0x0302, 0x5E
}, {0x0303, 0x7E
}, {0x0304, 0xAF
}, {0x0305, 0xAF
}, {0x0308, 0xA8
}, 
    {0x030A, 0xB0
}, {0x030E, 0x22
}, {0x0327, 0xB8
}, {0x0331, 0x5F
}, {0x0332, 0x5F
}, {0x037E, 0x3B
}, 
    {0x0393, 0x47
}, {0x0398, 0x54
}, {0x03A3, 0x53
}, {0x03A6, 0x46
}, {0x03A9, 0x4F
}, {0x03B1, 0x61
}, 
    {0x03B2, 0xDF
}, {0x03B4, 0x64
}, {0x03B5, 0x65
}, {0x03BC, 0xB5
}, {0x03C0, 0x70
}, {0x03C3, 0x73
}, 
    {0x03C4, 0x74
}, {0x03C6, 0x66
}, {0x04BB, 0x68
}, {0x0589, 0x3A
}, {0x066A, 0x25
}, {0x2000, 0x20
}, 
    {0x2001, 0x20
}, {0x2002, 0x20
}, {0x2003, 0x20
}, {0x2004, 0x20
}, {0x2005, 0x20
}, {0x2006, 0x20
}, 
    {0x2010, 0x2D
}, {0x2011, 0x2D
}, {0x2017, 0x3D
}, {0x2024, 0xB7
}, {0x2032, 0x27
}, {0x2035, 0x60
}, 
    {0x2044, 0x2F
}, {0x2070, 0xB0
}, {0x2074, 0x34
}, {0x2075, 0x35
}, {0x2076, 0x36
}, {0x2077, 0x37
}, 
    {0x2078, 0x38
}, {0x207F, 0x6E
}, {0x2080, 0x30
}, {0x2081, 0x31
}, {0x2082, 0x32
}, {0x2083, 0x33
}, 
    {0x2084, 0x34
}, {0x2085, 0x35
}, {0x2086, 0x36
}, {0x2087, 0x37
}, {0x2088, 0x38
}, {0x2089, 0x39
}, 
    {0x20A1, 0xA2
}, {0x20A4, 0xA3
}, {0x20A7, 0x50
}, {0x2102, 0x43
}, {0x2107, 0x45
}, {0x210A, 0x67
}, 
    {0x210B, 0x48
}, {0x210C, 0x48
}, {0x210D, 0x48
}, {0x210E, 0x68
}, {0x2110, 0x49
}, {0x2111, 0x49
}, 
    {0x2112, 0x4C
}, {0x2113, 0x6C
}, {0x2115, 0x4E
}, {0x2118, 0x50
}, {0x2119, 0x50
}, {0x211A, 0x51
}, 
    {0x211B, 0x52
}, {0x211C, 0x52
}, {0x211D, 0x52
}, {0x2124, 0x5A
}, {0x2128, 0x5A
}, {0x212A, 0x4B
}, 
    {0x212B, 0xC5
}, {0x212C, 0x42
}, {0x212D, 0x43
}, {0x212E, 0x65
}, {0x212F, 0x65
}, {0x2130, 0x45
}, 
    {0x2131, 0x46
}, {0x2133, 0x4D
}, {0x2134, 0x6F
}, {0x2205, 0xD8
}, {0x2212, 0x2D
}, {0x2213, 0xB1
}, 
    {0x2215, 0x2F
}, {0x2216, 0x5C
}, {0x2217, 0x2A
}, {0x2218, 0xB0
}, {0x2219, 0xB7
}, {0x221A, 0x76
}, 
    {0x221E, 0x38
}, {0x2223, 0x7C
}, {0x2229, 0x6E
}, {0x2236, 0x3A
}, {0x223C, 0x7E
}, {0x2248, 0x98
}, 
    {0x2261, 0x3D
}, {0x2264, 0x3D
}, {0x2265, 0x3D
}, {0x226A, 0xAB
}, {0x226B, 0xBB
}, {0x22C5, 0xB7
}, 
    {0x2302, 0xA6
}, {0x2303, 0x5E
}, {0x2310, 0xAC
}, {0x2320, 0x28
}, {0x2321, 0x29
}, {0x2329, 0x3C
}, 
    {0x232A, 0x3E
}, {0x2500, 0x2D
}, {0x2502, 0xA6
}, {0x250C, 0x2B
}, {0x2510, 0x2B
}, {0x2514, 0x2B
}, 
    {0x2518, 0x2B
}, {0x251C, 0x2B
}, {0x2524, 0xA6
}, {0x252C, 0x2D
}, {0x2534, 0x2D
}, {0x253C, 0x2B
}, 
    {0x2550, 0x2D
}, {0x2551, 0xA6
}, {0x2552, 0x2B
}, {0x2553, 0x2B
}, {0x2554, 0x2B
}, {0x2555, 0x2B
}, 
    {0x2556, 0x2B
}, {0x2557, 0x2B
}, {0x2558, 0x2B
}, {0x2559, 0x2B
}, {0x255A, 0x2B
}, {0x255B, 0x2B
}, 
    {0x255C, 0x2B
}, {0x255D, 0x2B
}, {0x255E, 0xA6
}, {0x255F, 0xA6
}, {0x2560, 0xA6
}, {0x2561, 0xA6
}, 
    {0x2562, 0xA6
}, {0x2563, 0xA6
}, {0x2564, 0x2D
}, {0x2565, 0x2D
}, {0x2566, 0x2D
}, {0x2567, 0x2D
}, 
    {0x2568, 0x2D
}, {0x2569, 0x2D
}, {0x256A, 0x2B
}, {0x256B, 0x2B
}, {0x256C, 0x2B
}, {0x2580, 0xAF
}, 
    {0x2584, 0x5F
}, {0x2588, 0xA6
}, {0x258C, 0xA6
}, {0x2590, 0xA6
}, {0x2591, 0xA6
}, {0x2592, 0xA6
}, 
    {0x2593, 0xA6
}, {0x25A0, 0xA6
}, {0x263C, 0xA4
}, {0x2758, 0x7C
}, {0x3000, 0x20
}, {0x3008, 0x3C
}, 
    {0x3009, 0x3E
}, {0x300A, 0xAB
}, {0x300B, 0xBB
}, {0x301A, 0x5B
}, {0x301B, 0x5D
}, {0x30FB, 0xB7
}, 
    {0xFF01, 0x21
}, {0xFF02, 0x22
}, {0xFF03, 0x23
}, {0xFF04, 0x24
}, {0xFF05, 0x25
}, {0xFF06, 0x26
}, 
    {0xFF07, 0x27
}, {0xFF08, 0x28
}, {0xFF09, 0x29
}, {0xFF0A, 0x2A
}, {0xFF0B, 0x2B
}, {0xFF0C, 0x2C
}, 
    {0xFF0D, 0x2D
}, {0xFF0E, 0x2E
}, {0xFF0F, 0x2F
}, {0xFF10, 0x30
}, {0xFF11, 0x31
}, {0xFF12, 0x32
}, 
    {0xFF13, 0x33
}, {0xFF14, 0x34
}, {0xFF15, 0x35
}, {0xFF16, 0x36
}, {0xFF17, 0x37
}, {0xFF18, 0x38
}, 
    {0xFF19, 0x39
}, {0xFF1A, 0x3A
}, {0xFF1B, 0x3B
}, {0xFF1C, 0x3C
}, {0xFF1D, 0x3D
}, {0xFF1E, 0x3E
}, 
    {0xFF20, 0x40
}, {0xFF21, 0x41
}, {0xFF22, 0x42
}, {0xFF23, 0x43
}, {0xFF24, 0x44
}, {0xFF25, 0x45
}, 
    {0xFF26, 0x46
}, {0xFF27, 0x47
}, {0xFF28, 0x48
}, {0xFF29, 0x49
}, {0xFF2A, 0x4A
}, {0xFF2B, 0x4B
}, 
    {0xFF2C, 0x4C
}, {0xFF2D, 0x4D
}, {0xFF2E, 0x4E
}, {0xFF2F, 0x4F
}, {0xFF30, 0x50
}, {0xFF31, 0x51
}, 
    {0xFF32, 0x52
}, {0xFF33, 0x53
}, {0xFF34, 0x54
}, {0xFF35, 0x55
}, {0xFF36, 0x56
}, {0xFF37, 0x57
}, 
    {0xFF38, 0x58
}, {0xFF39, 0x59
}, {0xFF3A, 0x5A
}, {0xFF3B, 0x5B
}, {0xFF3C, 0x5C
}, {0xFF3D, 0x5D
}, 
    {0xFF3E, 0x5E
}, {0xFF3F, 0x5F
}, {0xFF40, 0x60
}, {0xFF41, 0x61
}, {0xFF42, 0x62
}, {0xFF43, 0x63
}, 
    {0xFF44, 0x64
}, {0xFF45, 0x65
}, {0xFF46, 0x66
}, {0xFF47, 0x67
}, {0xFF48, 0x68
}, {0xFF49, 0x69
}, 
    {0xFF4A, 0x6A
}, {0xFF4B, 0x6B
}, {0xFF4C, 0x6C
}, {0xFF4D, 0x6D
}, {0xFF4E, 0x6E
}, {0xFF4F, 0x6F
}, 
    {0xFF50, 0x70
}, {0xFF51, 0x71
}, {0xFF52, 0x72
}, {0xFF53, 0x73
}, {0xFF54, 0x74
}, {0xFF55, 0x75
}, 
    {0xFF56, 0x76
}, {0xFF57, 0x77
}, {0xFF58, 0x78
}, {0xFF59, 0x79
}, {0xFF5A, 0x7A
}, {0xFF5B, 0x7B
}, 
    {0xFF5C, 0x7C
}, {0xFF5D, 0x7D
}, {0xFF5E, 0x7E
}, };

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// One character of Windows-1252, or -1 when the code page has none for it (best fit allowed or
// not).
int To1252(char16_t u, bool bestFit) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == u) return 0x80 + i;
  if (!bestFit) return -1;
  const BestFit* end = std::end(kBestFit1252);
  const BestFit* it = std::lower_bound(std::begin(kBestFit1252), end, u,
                                       [](const BestFit& b, char16_t v) { return b.wc < v; });
  return it != end && it->wc == u ? it->byte : -1;
}

char16_t From1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b; }

// Decodes UTF-8 into UTF-16: each ill-formed sequence (its longest valid start, or one byte)
// becomes U+FFFD. Answers the units written (or needed, when out is null) and whether any
// sequence was ill-formed.
size_t DecodeUtf8(const unsigned char* s, size_t n, char16_t* out, size_t room, bool* invalid,
                  bool* overflow) {
  size_t w = 0;
  auto put = [&](char16_t u) {
    if (out) {
      if (w >= room) {
        *overflow = true;
        return;
      }
      out[w] = u;
    }
    ++w;
  };
  size_t i = 0;
  while (i < n && !*overflow) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      put(b);
      ++i;
      continue;
    }
    int extra = 0;
    unsigned cp = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      *invalid = true;
      put(0xFFFD);
      ++i;
      continue;
    }
    size_t j = i + 1;
    int got = 0;
    for (; got < extra && j < n; ++got, ++j) {
      const unsigned char c = s[j];
      if (got == 0 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) break;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (got < extra) {
      *invalid = true;
      put(0xFFFD);
      i = j;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      put(static_cast<char16_t>(0xD800 + (cp >> 10)));
      put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
    i = j;
  }
  return w;
}

// Encodes UTF-16 as UTF-8: a lone surrogate becomes U+FFFD.
size_t EncodeUtf8(const char16_t* s, size_t n, char* out, size_t room, bool* invalid,
                  bool* overflow) {
  size_t w = 0;
  for (size_t i = 0; i < n && !*overflow; ++i) {
    unsigned cp = s[i];
    if (IsHigh(s[i]) && i + 1 < n && IsLow(s[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (IsHigh(s[i]) || IsLow(s[i])) {
      *invalid = true;
      cp = 0xFFFD;
    }
    unsigned char b[4];
    size_t k;
    if (cp < 0x80) {
      b[0] = static_cast<unsigned char>(cp);
      k = 1;
    } else if (cp < 0x800) {
      b[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
      b[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      k = 2;
    } else if (cp < 0x10000) {
      b[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
      b[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      b[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      k = 3;
    } else {
      b[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
      b[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
      b[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
      b[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
      k = 4;
    }
    if (out) {
      if (w + k > room) {
        *overflow = true;
        break;
      }
      std::memcpy(out + w, b, k);
    }
    w += k;
  }
  return w;
}

// The code page a conversion names: CP_ACP and CP_THREAD_ACP are the process's ANSI code page;
// 0 for one the simulation does not have.
UINT Resolve(UINT cp) {
  if (cp == CP_ACP || cp == CP_THREAD_ACP) return S().acp;
  return cp == 1252 || cp == CP_UTF8 ? cp : 0;
}

}  // namespace

size_t WideLength(const WCHAR* s) {
  size_t n = 0;
  if (s)
    while (s[n]) ++n;
  return n;
}

WCHAR KeyCharToWide(WPARAM ch) { return From1252(static_cast<unsigned char>(ch & 0xFF)); }

WPARAM KeyCharToAnsi(WPARAM ch) {
  const int b = To1252(static_cast<char16_t>(ch & 0xFFFF), true);
  return static_cast<WPARAM>(b < 0 ? '?' : b);
}

void WidenInto(UINT cp, const char* s, size_t n, KwWString& out) {
  if (!s || n == 0) {
    out.clear();
    return;
  }
  cp = Resolve(cp);
  if (cp == CP_UTF8) {
    bool invalid = false, overflow = false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(s);
    out.resize(DecodeUtf8(bytes, n, nullptr, 0, &invalid, &overflow));
    DecodeUtf8(bytes, n, &out[0], out.size(), &invalid, &overflow);
  } else {
    out.resize(n);
    for (size_t i = 0; i < n; ++i) out[i] = From1252(static_cast<unsigned char>(s[i]));
  }
}

KwWString Widen(UINT cp, const char* s, size_t n) {
  KwWString out;
  WidenInto(cp, s, n, out);
  return out;
}

void NarrowInto(UINT cp, const WCHAR* s, size_t n, std::string& out) {
  if (!s || n == 0) {
    out.clear();
    return;
  }
  cp = Resolve(cp);
  if (cp == CP_UTF8) {
    bool invalid = false, overflow = false;
    out.resize(EncodeUtf8(s, n, nullptr, 0, &invalid, &overflow));
    EncodeUtf8(s, n, &out[0], out.size(), &invalid, &overflow);
  } else {
    out.resize(n);
    for (size_t i = 0; i < n; ++i) {
      const int b = To1252(s[i], true);
      out[i] = static_cast<char>(b < 0 ? '?' : b);
    }
  }
}

std::string Narrow(UINT cp, const WCHAR* s, size_t n) {
  std::string out;
  NarrowInto(cp, s, n, out);
  return out;
}

size_t NarrowLength(UINT cp, const WCHAR* s, size_t n) {
  if (Resolve(cp) != CP_UTF8) return n;
  bool invalid = false, overflow = false;
  return EncodeUtf8(s, n, nullptr, 0, &invalid, &overflow);
}

size_t NarrowToBuffer(UINT cp, const WCHAR* s, size_t n, char* out, size_t room) {
  if (Resolve(cp) == CP_UTF8) {
    // Cut at the byte where the buffer ends, as the platform does.
    size_t w = 0;
    for (size_t i = 0; i < n && w < room; ++i) {
      const size_t pair = IsHigh(s[i]) && i + 1 < n && IsLow(s[i + 1]) ? 2 : 1;
      char b[4];
      bool invalid = false, overflow = false;
      const size_t k = EncodeUtf8(s + i, pair, b, sizeof b, &invalid, &overflow);
      const size_t take = k < room - w ? k : room - w;
      std::memcpy(out + w, b, take);
      w += take;
      i += pair - 1;
    }
    return w;
  }
  const size_t k = n < room ? n : room;
  for (size_t i = 0; i < k; ++i) {
    const int b = To1252(s[i], true);
    out[i] = static_cast<char>(b < 0 ? '?' : b);
  }
  return k;
}

}  // namespace kwsim

using namespace kwsim;

UINT WINAPI GetACP(void) { return S().acp; }

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH src, int srcLen, LPWSTR dst,
                               int dstLen) {
  State& s = S();
  const UINT cp = Resolve(codePage);
  if (!src || srcLen == 0 || srcLen < -1 || dstLen < 0 || (dstLen > 0 && !dst) || cp == 0) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (flags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS |
                                  MB_ERR_INVALID_CHARS)) {
    s.lastError = ERROR_INVALID_FLAGS;
    return 0;
  }
  const size_t n = srcLen == -1 ? std::strlen(src) + 1 : static_cast<size_t>(srcLen);
  const auto* bytes = reinterpret_cast<const unsigned char*>(src);
  bool invalid = false, overflow = false;
  size_t written;
  if (cp == CP_UTF8) {
    written = DecodeUtf8(bytes, n, dstLen ? dst : nullptr, static_cast<size_t>(dstLen), &invalid,
                         &overflow);
    if (invalid && (flags & MB_ERR_INVALID_CHARS)) {
      s.lastError = ERROR_NO_UNICODE_TRANSLATION;
      return 0;
    }
  } else {
    written = n;
    if (dstLen) {
      written = std::min(n, static_cast<size_t>(dstLen));
      overflow = written < n;
      for (size_t i = 0; i < written; ++i) dst[i] = From1252(bytes[i]);
    }
  }
  if (overflow) {
    s.lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  return static_cast<int>(written);
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH src, int srcLen, LPSTR dst,
                               int dstLen, LPCCH defaultChar, LPBOOL usedDefault) {
  State& s = S();
  const UINT cp = Resolve(codePage);
  if (!src || srcLen == 0 || srcLen < -1 || dstLen < 0 || (dstLen > 0 && !dst) || cp == 0) {
    s.lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (flags & ~static_cast<DWORD>(WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                                  WC_ERR_INVALID_CHARS | WC_COMPOSITECHECK |
                                  WC_NO_BEST_FIT_CHARS)) {
    s.lastError = ERROR_INVALID_FLAGS;
    return 0;
  }
  size_t n = 0;
  if (srcLen == -1) {
    while (src[n]) ++n;
    ++n;
  } else {
    n = static_cast<size_t>(srcLen);
  }
  bool invalid = false, overflow = false;
  size_t written = 0;
  if (cp == CP_UTF8) {
    // UTF-8 has every character: the default character and its report do not apply (they
    // are left alone).
    written = EncodeUtf8(src, n, dstLen ? dst : nullptr, static_cast<size_t>(dstLen), &invalid,
                         &overflow);
    if (invalid && (flags & WC_ERR_INVALID_CHARS)) {
      s.lastError = ERROR_NO_UNICODE_TRANSLATION;
      return 0;
    }
  } else {
    // One byte a unit: a surrogate pair is two characters the code page has not.
    const bool bestFit = !(flags & WC_NO_BEST_FIT_CHARS);
    const char fallback = defaultChar ? *defaultChar : '?';
    bool used = false;
    for (size_t i = 0; i < n; ++i) {
      int b = To1252(src[i], bestFit);
      if (b < 0) {
        used = true;
        b = static_cast<unsigned char>(fallback);
      }
      if (dstLen) {
        if (written >= static_cast<size_t>(dstLen)) {
          overflow = true;
          break;
        }
        dst[written] = static_cast<char>(b);
      }
      ++written;
    }
    if (usedDefault) *usedDefault = used ? TRUE : FALSE;
  }
  if (overflow) {
    s.lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  return static_cast<int>(written);
}

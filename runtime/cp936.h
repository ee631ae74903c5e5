// Walking code page 936 text: a byte from 0x81 to 0xFE starts a two-byte
// character whose second byte may be 0x5C, the value of a backslash, so a
// backslash is only a separator where it stands as a character of its own.
#pragma once

inline bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The bytes the character at p takes: two for a lead byte with its trail.
inline unsigned CharLength(const char* p) { return IsLeadByte((unsigned char)*p) && p[1] ? 2 : 1; }

// The last character c (a single-byte one) of text, or null when it has none.
inline const char* FindLastChar(const char* text, char c) {
    const char* found = nullptr;
    for (const char* p = text; p && *p; p += CharLength(p))
        if (*p == c) found = p;
    return found;
}

inline const char* FindLastBackslash(const char* text) { return FindLastChar(text, '\\'); }

inline bool EndsWithBackslash(const char* text) {
    const char* last = FindLastBackslash(text);
    return last && last[1] == 0;
}

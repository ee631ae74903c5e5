// Walking code page 936 text: a byte from 0x81 to 0xFE starts a two-byte
// character whose second byte may be 0x5C, the value of a backslash, so a
// backslash is only a separator where it stands as a character of its own.
#pragma once

inline bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The last backslash character of text, or null when it has none.
inline const char* FindLastBackslash(const char* text) {
    const char* found = nullptr;
    for (const char* p = text; p && *p; p++) {
        if (IsLeadByte((unsigned char)*p) && p[1]) p++;
        else if (*p == '\\') found = p;
    }
    return found;
}

inline bool EndsWithBackslash(const char* text) {
    const char* last = FindLastBackslash(text);
    return last && last[1] == 0;
}

/* The payload in the byte-array form (the word 1, the length, the bytes),
   placed in read-only data so it is written straight from the image. */
#include "embed.h"
        READ_ONLY_DATA
        .balign 4
        .globl SYMBOL(Payload)
SYMBOL(Payload):
        .long 1
        .long payload_end - payload_start
payload_start:
        .incbin PAYLOAD_FILE
payload_end:
#if !defined(_WIN32)
        .section .note.GNU-stack,"",@progbits
#endif

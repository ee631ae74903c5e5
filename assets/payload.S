/* The payload in the byte-array form (the word 1, the length, the bytes),
   placed in read-only data so it is written straight from the image. */
#define PASTE(a, b) a##b
#define EXPAND_PASTE(a, b) PASTE(a, b)
#define SYMBOL(name) EXPAND_PASTE(__USER_LABEL_PREFIX__, name)
#if defined(_WIN32)
        .section .rdata,"dr"
#else
        .section .rodata
#endif
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

/* Embedding files as read-only data of the image, from assembler. */
#define PASTE(a, b) a##b
#define EXPAND_PASTE(a, b) PASTE(a, b)
#define SYMBOL(name) EXPAND_PASTE(__USER_LABEL_PREFIX__, name)
#if defined(_WIN32)
#define READ_ONLY_DATA .section .rdata, "dr"
#else
#define READ_ONLY_DATA .section .rodata
#endif

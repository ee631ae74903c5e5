/* The pictures of the windows, each as the whole bytes of its file between
 * NAME and NAME_end. The build passes the pictures folder to the assembler. */
#include "embed.h"
#define PICTURE(name, file) \
        .globl SYMBOL(name), SYMBOL(name##_end); \
SYMBOL(name): .incbin file; \
SYMBOL(name##_end):

        READ_ONLY_DATA
PICTURE(back_hover_jpg, "back_hover.jpg")
PICTURE(back_normal_jpg, "back_normal.jpg")
PICTURE(back_pressed_jpg, "back_pressed.jpg")
PICTURE(banner_product_jpg, "banner_product.jpg")
PICTURE(banner_welcome_jpg, "banner_welcome.jpg")
PICTURE(browse_hover_jpg, "browse_hover.jpg")
PICTURE(browse_normal_jpg, "browse_normal.jpg")
PICTURE(close_hover_jpg, "close_hover.jpg")
PICTURE(close_normal_jpg, "close_normal.jpg")
PICTURE(close_pressed_jpg, "close_pressed.jpg")
PICTURE(custom_hover_jpg, "custom_hover.jpg")
PICTURE(custom_normal_jpg, "custom_normal.jpg")
PICTURE(custom_pressed_jpg, "custom_pressed.jpg")
PICTURE(finish_hover_jpg, "finish_hover.jpg")
PICTURE(finish_normal_jpg, "finish_normal.jpg")
PICTURE(finish_pressed_jpg, "finish_pressed.jpg")
PICTURE(install_hover_jpg, "install_hover.jpg")
PICTURE(install_normal_jpg, "install_normal.jpg")
PICTURE(install_pressed_jpg, "install_pressed.jpg")
PICTURE(next_hover_png, "next_hover.png")
PICTURE(next_normal_png, "next_normal.png")
PICTURE(quick_hover_jpg, "quick_hover.jpg")
PICTURE(quick_normal_jpg, "quick_normal.jpg")
PICTURE(quick_pressed_jpg, "quick_pressed.jpg")
PICTURE(trynow_hover_jpg, "trynow_hover.jpg")
PICTURE(trynow_normal_jpg, "trynow_normal.jpg")
PICTURE(trynow_pressed_jpg, "trynow_pressed.jpg")
#if !defined(_WIN32)
        .section .note.GNU-stack,"",@progbits
#endif

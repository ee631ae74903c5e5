// The embedded pictures (assets/pictures.S).
#pragma once
#include <stdint.h>

extern "C" const uint8_t
    back_hover_jpg[], back_hover_jpg_end[],
    back_normal_jpg[], back_normal_jpg_end[],
    back_pressed_jpg[], back_pressed_jpg_end[],
    banner_product_jpg[], banner_product_jpg_end[],
    banner_welcome_jpg[], banner_welcome_jpg_end[],
    browse_hover_jpg[], browse_hover_jpg_end[],
    browse_normal_jpg[], browse_normal_jpg_end[],
    close_hover_jpg[], close_hover_jpg_end[],
    close_normal_jpg[], close_normal_jpg_end[],
    close_pressed_jpg[], close_pressed_jpg_end[],
    custom_hover_jpg[], custom_hover_jpg_end[],
    custom_normal_jpg[], custom_normal_jpg_end[],
    custom_pressed_jpg[], custom_pressed_jpg_end[],
    finish_hover_jpg[], finish_hover_jpg_end[],
    finish_normal_jpg[], finish_normal_jpg_end[],
    finish_pressed_jpg[], finish_pressed_jpg_end[],
    install_hover_jpg[], install_hover_jpg_end[],
    install_normal_jpg[], install_normal_jpg_end[],
    install_pressed_jpg[], install_pressed_jpg_end[],
    next_hover_png[], next_hover_png_end[],
    next_normal_png[], next_normal_png_end[],
    quick_hover_jpg[], quick_hover_jpg_end[],
    quick_normal_jpg[], quick_normal_jpg_end[],
    quick_pressed_jpg[], quick_pressed_jpg_end[],
    trynow_hover_jpg[], trynow_hover_jpg_end[],
    trynow_normal_jpg[], trynow_normal_jpg_end[],
    trynow_pressed_jpg[], trynow_pressed_jpg_end[];

/* A stand-in for the parts of LVGL's public font types that a font in LVGL's text format uses,
 * written from LVGL's API documentation, so that the tests compile HzDot's LVGL fonts where LVGL
 * itself is not installed. LVGL_VERSION_MAJOR picks the form of version 8 or 9 (default 9). Bit
 * fields are declared unsigned, as plain C99 allows; their widths are LVGL's. */
#ifndef HZDOT_LVGL_STAND_IN_H
#define HZDOT_LVGL_STAND_IN_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifndef LVGL_VERSION_MAJOR
#define LVGL_VERSION_MAJOR 9
#endif
#define LVGL_VERSION_MINOR 0

#define LV_ATTRIBUTE_LARGE_CONST

struct lv_font_t_;

typedef struct {
    const struct lv_font_t_ *resolved_font;
    uint16_t adv_w;
    uint16_t box_w;
    uint16_t box_h;
    int16_t ofs_x;
    int16_t ofs_y;
    uint8_t bpp;
    uint32_t gid;
} lv_font_glyph_dsc_t;

typedef enum { LV_FONT_SUBPX_NONE, LV_FONT_SUBPX_HOR, LV_FONT_SUBPX_VER, LV_FONT_SUBPX_BOTH } lv_font_subpx_t;

typedef struct lv_font_t_ {
    bool (*get_glyph_dsc)(const struct lv_font_t_ *, lv_font_glyph_dsc_t *, uint32_t, uint32_t);
#if LVGL_VERSION_MAJOR == 8
    const uint8_t *(*get_glyph_bitmap)(const struct lv_font_t_ *, uint32_t);
#else
    const void *(*get_glyph_bitmap)(lv_font_glyph_dsc_t *, void *);
#endif
    int32_t line_height;
    int32_t base_line;
    unsigned subpx : 2;
#if LVGL_VERSION_MAJOR >= 9
    unsigned kerning : 1;
#endif
    int8_t underline_position;
    int8_t underline_thickness;
    const void *dsc;
    const struct lv_font_t_ *fallback;
    void *user_data;
} lv_font_t;

typedef struct {
    unsigned bitmap_index : 20;
    unsigned adv_w : 12;
    uint8_t box_w;
    uint8_t box_h;
    int8_t ofs_x;
    int8_t ofs_y;
} lv_font_fmt_txt_glyph_dsc_t;

typedef enum {
    LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL,
    LV_FONT_FMT_TXT_CMAP_SPARSE_FULL,
    LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY,
    LV_FONT_FMT_TXT_CMAP_SPARSE_TINY
} lv_font_fmt_txt_cmap_type_t;

typedef struct {
    uint32_t range_start;
    uint16_t range_length;
    uint16_t glyph_id_start;
    const uint16_t *unicode_list;
    const void *glyph_id_ofs_list;
    uint16_t list_length;
    lv_font_fmt_txt_cmap_type_t type;
} lv_font_fmt_txt_cmap_t;

#if LVGL_VERSION_MAJOR == 8
typedef struct {
    uint32_t last_letter;
    uint32_t last_glyph_id;
} lv_font_fmt_txt_glyph_cache_t;
#endif

typedef struct {
    const uint8_t *glyph_bitmap;
    const lv_font_fmt_txt_glyph_dsc_t *glyph_dsc;
    const lv_font_fmt_txt_cmap_t *cmaps;
    const void *kern_dsc;
    uint16_t kern_scale;
    unsigned cmap_num : 9;
    unsigned bpp : 4;
    unsigned kern_classes : 1;
    unsigned bitmap_format : 2;
#if LVGL_VERSION_MAJOR == 8
    lv_font_fmt_txt_glyph_cache_t *cache;
#endif
} lv_font_fmt_txt_dsc_t;

bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *font, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                                   uint32_t letter_next);
#if LVGL_VERSION_MAJOR == 8
const uint8_t *lv_font_get_bitmap_fmt_txt(const lv_font_t *font, uint32_t letter);
#else
const void *lv_font_get_bitmap_fmt_txt(lv_font_glyph_dsc_t *g_dsc, void *draw_buf);
#endif

#define LV_FONT_DECLARE(font_name) extern const lv_font_t font_name;

#endif

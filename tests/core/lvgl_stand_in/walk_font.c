/* Reads code points (hex, one a line) and prints each one's glyph as LVGL would place it on a line:
 * a grid as wide as the advance and as high as the line, each dot "." or its level in hex, found
 * through the font's character map and glyph descriptors alone. Built with -DWALK_FONT=name. */
#include "lvgl.h"

#include <stdio.h>

LV_FONT_DECLARE(WALK_FONT)

/* The font refers to LVGL's own readers; the walk reads the tables itself. */
bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *font, lv_font_glyph_dsc_t *dsc_out, uint32_t letter,
                                   uint32_t letter_next) {
    (void)font;
    (void)dsc_out;
    (void)letter;
    (void)letter_next;
    return false;
}
#if LVGL_VERSION_MAJOR == 8
const uint8_t *lv_font_get_bitmap_fmt_txt(const lv_font_t *font, uint32_t letter) {
    (void)font;
    (void)letter;
    return NULL;
}
#else
const void *lv_font_get_bitmap_fmt_txt(lv_font_glyph_dsc_t *g_dsc, void *draw_buf) {
    (void)g_dsc;
    (void)draw_buf;
    return NULL;
}
#endif

static unsigned glyph_id(const lv_font_fmt_txt_dsc_t *dsc, uint32_t code) {
    unsigned i;
    for (i = 0; i < dsc->cmap_num; ++i) {
        const lv_font_fmt_txt_cmap_t *cmap = &dsc->cmaps[i];
        uint32_t rcp = code - cmap->range_start;
        if (code < cmap->range_start || rcp >= cmap->range_length)
            continue;
        if (cmap->type == LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY)
            return cmap->glyph_id_start + rcp;
        if (cmap->type == LV_FONT_FMT_TXT_CMAP_SPARSE_TINY) {
            unsigned lo = 0, hi = cmap->list_length;
            while (lo < hi) {
                unsigned mid = (lo + hi) / 2;
                if (cmap->unicode_list[mid] < rcp)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            if (lo < cmap->list_length && cmap->unicode_list[lo] == rcp)
                return cmap->glyph_id_start + lo;
            return 0;
        }
        printf("cmap %u has a type this font should not use\n", i);
        return 0;
    }
    return 0;
}

static char grid[64][64 * 2 + 1];

int main(void) {
    const lv_font_t *font = &WALK_FONT;
    const lv_font_fmt_txt_dsc_t *dsc = (const lv_font_fmt_txt_dsc_t *)font->dsc;
    unsigned long code;
    printf("line %d base %d bpp %u format %u kern %d\n", (int)font->line_height, (int)font->base_line,
           (unsigned)dsc->bpp, (unsigned)dsc->bitmap_format, dsc->kern_dsc != NULL);
    while (scanf("%lx", &code) == 1) {
        unsigned id = glyph_id(dsc, (uint32_t)code);
        const lv_font_fmt_txt_glyph_dsc_t *g;
        int width, x, y, top;
        unsigned long bit;
        if (id == 0) {
            printf("U+%04lX none\n", code);
            continue;
        }
        g = &dsc->glyph_dsc[id];
        width = (int)(g->adv_w / 16);
        printf("U+%04lX adv %u\n", code, (unsigned)g->adv_w);
        if (width > 64 || font->line_height > 64) {
            printf("too large\n");
            continue;
        }
        for (y = 0; y < font->line_height; ++y) {
            for (x = 0; x < width; ++x) {
                grid[y][2 * x] = ' ';
                grid[y][2 * x + 1] = '.';
            }
            grid[y][2 * width] = '\0';
        }
        top = (int)(font->line_height - font->base_line) - g->ofs_y - g->box_h;
        bit = (unsigned long)g->bitmap_index * 8;
        for (y = 0; y < g->box_h; ++y)
            for (x = 0; x < g->box_w; ++x) {
                unsigned level = 0, k;
                for (k = 0; k < dsc->bpp; ++k, ++bit)
                    level = (level << 1) | ((dsc->glyph_bitmap[bit / 8] >> (7 - bit % 8)) & 1u);
                if (g->ofs_x + x < 0 || g->ofs_x + x >= width || top + y < 0 || top + y >= font->line_height) {
                    printf("dot outside the line\n");
                    continue;
                }
                if (level != 0)
                    sprintf(&grid[top + y][2 * (g->ofs_x + x)], "%02x", level);
                grid[top + y][2 * (g->ofs_x + x) + 2] = (g->ofs_x + x + 1 < width) ? ' ' : '\0';
            }
        for (y = 0; y < font->line_height; ++y)
            printf("%s\n", grid[y]);
    }
    return 0;
}

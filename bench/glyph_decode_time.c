/* The decode time of a compressed header's glyphs: every glyph of the font decoded over and over,
 * the mean processor time a glyph given in nanoseconds (the time the process ran, so that other
 * work on the machine counts less). Built by bench/compressed_header.sh against the header
 * it makes (font.h, name font), with the key list it writes to keys.h. */
#define _POSIX_C_SOURCE 199309L
#include "font.h"
#include "keys.h"

#include <stdio.h>
#include <time.h>

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

int main(void)
{
    static uint8_t out[font_MAX_BYTES];
    const size_t count = sizeof bench_keys / sizeof bench_keys[0];
    unsigned long sum = 0;
    size_t i, round, rounds = 1;
    double start, took;
    /* Enough rounds for a quarter of a second at least. */
    for (;;) {
        start = now();
        for (round = 0; round < rounds; ++round)
            for (i = 0; i < count; ++i)
                sum += font_glyph(bench_keys[i], out, NULL, NULL) + out[0];
        took = now() - start;
        if (took > 0.25)
            break;
        rounds *= 2;
    }
    printf("%.0f ns a glyph (%lu)\n", took * 1e9 / (double)(rounds * count), sum & 1);
    return 0;
}

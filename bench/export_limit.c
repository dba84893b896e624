/*
 * The yardstick for hzdot-cli's export: the least a program can do to write the same file. It maps
 * the library, converts the whole input to code page 936 in one call, formats every record into one
 * buffer and writes it with one call, then syncs the file, renames it over the target and syncs the
 * folder, as an all-or-nothing export must. Its output is byte for byte what
 * `hzdot-cli -f DIR -l 1|3 -a 2 -i INPUT -o OUTPUT` writes for an input of GB2312 characters.
 *
 *   export_limit LIBRARY CELL INPUT OUTPUT        (CELL 16 or 24)
 *
 * Characters outside GB2312, or whose record lies beyond the library's end, are skipped (hzdot-cli
 * reports them).
 */
#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

/* 上下列排 in code page 936 */
static const char kName[] = "\xC9\xCF\xCF\xC2\xC1\xD0\xC5\xC5";

static char assemblyField[256][5];
static char cField[256][4];

static void buildFields(void) {
    static const char digits[] = "0123456789ABCDEF";
    for (int v = 0; v < 256; ++v) {
        char *a = assemblyField[v];
        a[0] = ' ';
        a[1] = v >= 0xA0 ? '0' : ' ';
        a[2] = digits[v >> 4];
        a[3] = digits[v & 15];
        a[4] = 'h';
        char *c = cField[v];
        c[0] = '0';
        c[1] = 'x';
        c[2] = digits[v >> 4];
        c[3] = digits[v & 15];
    }
}

static void fail(const char *what, const char *name) {
    fprintf(stderr, "export_limit: %s %s: %s\n", what, name, strerror(errno));
    exit(2);
}

static void *mapFile(const char *path, size_t *size) {
    int fd = open(path, O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0)
        fail("cannot open", path);
    *size = (size_t)st.st_size;
    void *data = *size ? mmap(NULL, *size, PROT_READ, MAP_PRIVATE, fd, 0) : NULL;
    if (*size && data == MAP_FAILED)
        fail("cannot map", path);
    close(fd);
    return data;
}

/* The 上下列排 bytes of an N x N record held in rows (B bytes a row, the leftmost dot in bit 7):
 * byte B*c + g is column c, band g (rows 8g..8g+7), the band's top dot in bit 7. An 8 x 8 block of
 * dots is turned in one 64-bit word. */
static void columnsDown(const uint8_t *record, int cell, uint8_t *out) {
    const int bands = cell / 8;
    for (int g = 0; g < bands; ++g)
        for (int k = 0; k < bands; ++k) {
            /* rows 8g..8g+7 of the k-th byte column, row 8g in the top byte */
            uint64_t x = 0;
            for (int r = 0; r < 8; ++r)
                x = x << 8 | record[(8 * g + r) * bands + k];
            /* transpose the 8 x 8 bit matrix (Hacker's Delight, 7-3) */
            uint64_t t;
            t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
            x = x ^ t ^ (t << 7);
            t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
            x = x ^ t ^ (t << 14);
            t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
            x = x ^ t ^ (t << 28);
            /* now the top byte is column 8k, its bit 7 row 8g */
            for (int c = 0; c < 8; ++c)
                out[(8 * k + c) * bands + g] = (uint8_t)(x >> (56 - 8 * c));
        }
}

static char *header(char *p, const char *code, const char *size, int cPart) {
    if (cPart) {
        memcpy(p, "{//", 3);
        p += 3;
    } else
        *p++ = ';';
    *p++ = code[0];
    *p++ = code[1];
    memcpy(p, size, 7); /* [16*16] */
    p += 7;
    memcpy(p, kName, 8);
    p += 8;
    *p++ = '\r';
    *p++ = '\n';
    return p;
}

static char *assembly(char *p, const uint8_t *bytes, int n) {
    for (int j = 0; j < n; ++j) {
        if (j % 8 == 0) {
            memcpy(p, "DB ", 3);
            p += 3;
        }
        memcpy(p, assemblyField[bytes[j]], 5);
        p += 5;
        if (j % 8 == 7 || j + 1 == n) {
            *p++ = '\r';
            *p++ = '\n';
        } else
            *p++ = ',';
    }
    return p;
}

static char *cText(char *p, const uint8_t *bytes, int n) {
    for (int j = 0; j < n; ++j) {
        if (j > 0) {
            *p++ = ',';
            if (j % 8 == 0) {
                *p++ = '\r';
                *p++ = '\n';
            }
        }
        memcpy(p, cField[bytes[j]], 4);
        p += 4;
    }
    return p;
}

int main(int argc, char **argv) {
    if (argc != 5 || (atoi(argv[2]) != 16 && atoi(argv[2]) != 24)) {
        fprintf(stderr, "usage: export_limit LIBRARY 16|24 INPUT OUTPUT\n");
        return 2;
    }
    const int cell = atoi(argv[2]);
    const int recordSize = cell * cell / 8;
    const char *size = cell == 16 ? "[16*16]" : "[24*24]";
    buildFields();

    size_t librarySize, inputSize;
    const uint8_t *library = mapFile(argv[1], &librarySize);
    char *input = mapFile(argv[3], &inputSize);

    /* the whole input in code page 936, in one conversion; what it cannot hold is dropped */
    iconv_t cd = iconv_open("CP936//IGNORE", "UTF-8");
    if (cd == (iconv_t)-1)
        fail("cannot convert", "to CP936");
    char *codes = malloc(inputSize + 1);
    char *in = input, *outp = codes;
    size_t inLeft = inputSize, outLeft = inputSize + 1;
    iconv(cd, &in, &inLeft, &outp, &outLeft);
    const size_t codeBytes = (size_t)(outp - codes);

    /* the records' offsets, in order: double-byte GB2312 codes whose record the library holds */
    uint32_t *offsets = malloc((codeBytes / 2 + 1) * sizeof *offsets);
    char (*names)[2] = malloc((codeBytes / 2 + 1) * sizeof *names);
    size_t count = 0;
    for (size_t i = 0; i < codeBytes;) {
        const uint8_t hi = (uint8_t)codes[i];
        if (hi < 0x81) {
            ++i;
            continue;
        }
        const uint8_t lo = (uint8_t)codes[i + 1];
        i += 2;
        if (hi < 0xA1 || hi > 0xFE || lo < 0xA1 || lo > 0xFE)
            continue;
        const size_t offset = ((size_t)(hi - 0xA1) * 94 + (lo - 0xA1)) * (size_t)recordSize;
        if (offset + (size_t)recordSize > librarySize)
            continue;
        offsets[count] = (uint32_t)offset;
        names[count][0] = (char)hi;
        names[count][1] = (char)lo;
        ++count;
    }

    /* the exact length: per record an assembly block and a C block, and one CR LF between parts */
    const int lines = (recordSize + 7) / 8;
    const size_t asmBlock = 20 + (size_t)lines * 5 + (size_t)recordSize * 6 - (size_t)lines + 2;
    const size_t cBlock = 22 + (size_t)recordSize * 5 - 1 + (size_t)(recordSize - 1) / 8 * 2 + 4;
    const size_t total = count * (asmBlock + cBlock) + 2;
    char *text = malloc(total);
    char *p = text;
    uint8_t bytes[72];
    for (size_t i = 0; i < count; ++i) {
        columnsDown(library + offsets[i], cell, bytes);
        p = header(p, names[i], size, 0);
        p = assembly(p, bytes, recordSize);
        *p++ = '\r';
        *p++ = '\n';
    }
    *p++ = '\r';
    *p++ = '\n';
    for (size_t i = 0; i < count; ++i) {
        columnsDown(library + offsets[i], cell, bytes);
        p = header(p, names[i], size, 1);
        p = cText(p, bytes, recordSize);
        memcpy(p, "};\r\n", 4);
        p += 4;
    }
    if ((size_t)(p - text) != total) {
        fprintf(stderr, "export_limit: %zu bytes formatted, %zu expected\n", (size_t)(p - text), total);
        return 2;
    }

    /* all or nothing: a temporary file beside the target, synced, renamed over it, the folder synced */
    const size_t pathLength = strlen(argv[4]);
    char *temporary = malloc(pathLength + 8);
    memcpy(temporary, argv[4], pathLength);
    memcpy(temporary + pathLength, ".XXXXXX", 8);
    int fd = mkstemp(temporary);
    if (fd < 0)
        fail("cannot create", temporary);
    for (size_t done = 0; done < total;) {
        ssize_t n = write(fd, text + done, total - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot write", temporary);
        done += (size_t)n;
    }
    if (fchmod(fd, 0644) != 0 || fsync(fd) != 0 || close(fd) != 0)
        fail("cannot write", temporary);
    if (rename(temporary, argv[4]) != 0)
        fail("cannot rename to", argv[4]);
    char *slash = strrchr(argv[4], '/');
    const char *folder = ".";
    if (slash) {
        *slash = '\0';
        folder = slash == argv[4] ? "/" : argv[4];
    }
    int dir = open(folder, O_RDONLY | O_DIRECTORY);
    if (dir < 0 || fsync(dir) != 0)
        fail("cannot sync", folder);
    close(dir);
    return 0;
}

// LD_PRELOAD shim: fails the Nth call (FEHLER_BEI=N, counted from 1) of
// write/pwrite64/fwrite to a regular file, fsync/fdatasync, rename or unlink
// with FEHLER_ERRNO (EIO or ENOSPC). At exit it writes the number of such
// calls to the file FEHLER_ZAEHLER, so a driver knows how many runs a command
// needs for every call to have failed once.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static long zaehler;
static long fehlerBei = -1;
static int fehlerCode = EIO;

__attribute__((constructor)) static void anfang(void) {
    const char* n = getenv("FEHLER_BEI");
    if (n)
        fehlerBei = atol(n);
    const char* e = getenv("FEHLER_ERRNO");
    if (e && strcmp(e, "ENOSPC") == 0)
        fehlerCode = ENOSPC;
}

__attribute__((destructor)) static void ende(void) {
    const char* pfad = getenv("FEHLER_ZAEHLER");
    if (!pfad)
        return;
    FILE* f = fopen(pfad, "w");
    if (f) {
        fprintf(f, "%ld\n", zaehler);
        fclose(f);
    }
}

static int regulaer(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// True when this call is the one to fail.
static int jetzt(void) {
    return ++zaehler == fehlerBei;
}

#define NAECHSTE(name) static __typeof__(name)* echt_##name; if (!echt_##name) echt_##name = dlsym(RTLD_NEXT, #name)

ssize_t write(int fd, const void* b, size_t n) {
    NAECHSTE(write);
    if (regulaer(fd) && jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_write(fd, b, n);
}

ssize_t pwrite64(int fd, const void* b, size_t n, off_t o) {
    NAECHSTE(pwrite64);
    if (regulaer(fd) && jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_pwrite64(fd, b, n, o);
}

ssize_t pwrite(int fd, const void* b, size_t n, off_t o) {
    NAECHSTE(pwrite);
    if (regulaer(fd) && jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_pwrite(fd, b, n, o);
}

size_t fwrite(const void* b, size_t g, size_t n, FILE* f) {
    NAECHSTE(fwrite);
    if (regulaer(fileno(f)) && jetzt()) {
        errno = fehlerCode;
        return 0;
    }
    return echt_fwrite(b, g, n, f);
}

int fsync(int fd) {
    NAECHSTE(fsync);
    if (jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_fsync(fd);
}

int fdatasync(int fd) {
    NAECHSTE(fdatasync);
    if (jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_fdatasync(fd);
}

int rename(const char* a, const char* b) {
    NAECHSTE(rename);
    if (jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_rename(a, b);
}

int unlink(const char* p) {
    NAECHSTE(unlink);
    if (jetzt()) {
        errno = fehlerCode;
        return -1;
    }
    return echt_unlink(p);
}

#include "support/killingvfs.h"

#include <sqlite3.h>
#include <unistd.h>

namespace {

int g_writesLeft = 0;
int g_writesDone = 0;
sqlite3_vfs* g_base = nullptr;
sqlite3_vfs g_vfs;

// A file of the base system, with the writes counted.
struct CountedFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* file) {
    return reinterpret_cast<CountedFile*>(file)->real;
}

void CountOne() {
    ++g_writesDone;
    if (--g_writesLeft <= 0) {
        _exit(9);
    }
}

int Close(sqlite3_file* file) {
    const int code = Real(file)->pMethods->xClose(Real(file));
    sqlite3_free(Real(file));
    return code;
}
int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}
int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    CountOne();
    return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}
int Truncate(sqlite3_file* file, sqlite3_int64 size) {
    return Real(file)->pMethods->xTruncate(Real(file), size);
}
int Sync(sqlite3_file* file, int flags) {
    CountOne();
    return Real(file)->pMethods->xSync(Real(file), flags);
}
int FileSize(sqlite3_file* file, sqlite3_int64* size) {
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xLock(Real(file), level);
}
int Unlock(sqlite3_file* file, int level) {
    return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* out) {
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file* file, int op, void* arg) {
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int SectorSize(sqlite3_file* file) {
    return Real(file)->pMethods->xSectorSize(Real(file));
}
int DeviceCharacteristics(sqlite3_file* file) {
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}

// The shared memory of a write-ahead log is no file write: it is passed on uncounted.
int ShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** memory) {
    return Real(file)->pMethods->xShmMap(Real(file), page, size, extend, memory);
}
int ShmLock(sqlite3_file* file, int offset, int count, int flags) {
    return Real(file)->pMethods->xShmLock(Real(file), offset, count, flags);
}
void ShmBarrier(sqlite3_file* file) {
    Real(file)->pMethods->xShmBarrier(Real(file));
}
int ShmUnmap(sqlite3_file* file, int deleteFlag) {
    return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag);
}

const sqlite3_io_methods kMethods = {2,
                                     Close,
                                     Read,
                                     Write,
                                     Truncate,
                                     Sync,
                                     FileSize,
                                     Lock,
                                     Unlock,
                                     CheckReservedLock,
                                     FileControl,
                                     SectorSize,
                                     DeviceCharacteristics,
                                     ShmMap,
                                     ShmLock,
                                     ShmBarrier,
                                     ShmUnmap,
                                     nullptr,
                                     nullptr};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* counted = reinterpret_cast<CountedFile*>(file);
    counted->base.pMethods = nullptr;
    counted->real = static_cast<sqlite3_file*>(sqlite3_malloc(g_base->szOsFile));
    const int code = g_base->xOpen(g_base, name, counted->real, flags, outFlags);
    if (code != SQLITE_OK || counted->real->pMethods == nullptr) {
        sqlite3_free(counted->real);
        return code;
    }
    counted->base.pMethods = &kMethods;
    return code;
}

}  // namespace

int WritesSoFar() {
    return g_writesDone;
}

void EndProcessAtWrite(int writes) {
    g_writesLeft = writes;
    g_base = sqlite3_vfs_find(nullptr);
    g_vfs = *g_base;
    g_vfs.zName = "counting";
    g_vfs.szOsFile = sizeof(CountedFile);
    g_vfs.xOpen = Open;
    sqlite3_vfs_register(&g_vfs, 1);
}

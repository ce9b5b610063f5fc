#pragma once
// Plays a full disk for the files the program saves: every write of saved content goes
// through the given hook while the object lives, by default one that fails with
// "No space left on device".
#include "platform/core/file_io.h"

#include <cerrno>

inline ssize_t FullDiskWrite(int, const void*, size_t)
{
    errno = ENOSPC;
    return -1;
}

class ScopedWriteHook {
public:
    explicit ScopedWriteHook(TFileWriteHook hook = FullDiskWrite) : FOld(SetFileWriteHook(std::move(hook))) {}
    ~ScopedWriteHook() { SetFileWriteHook(FOld); }
    ScopedWriteHook(const ScopedWriteHook&) = delete;
    ScopedWriteHook& operator=(const ScopedWriteHook&) = delete;

private:
    TFileWriteHook FOld;
};

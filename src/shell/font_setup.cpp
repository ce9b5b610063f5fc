#include "shell/font_setup.h"

#include <dlfcn.h>

TFontSetup::TFontSetup()
{
    // the library Qt's font database is linked with; a process without it has nothing to set up
    void* lib = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (!lib) return;
    using TFcInit = int (*)();
    const auto init = reinterpret_cast<TFcInit>(dlsym(lib, "FcInit"));
    if (!init) {
        dlclose(lib);
        return;
    }
    FThread = std::thread([lib, init] {
        init();
        dlclose(lib);
    });
}

TFontSetup::~TFontSetup() { Wait(); }

void TFontSetup::Wait()
{
    if (FThread.joinable()) FThread.join();
}

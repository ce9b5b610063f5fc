#pragma once
// The first text a program measures makes fontconfig read its configuration, some hundred
// files on a desktop system, before the first window can be laid out.  Started on a worker
// thread before the application object, that reading runs beside the application's own
// start instead of after it; the result is the same configuration Qt would have loaded.
#include <thread>

class TFontSetup {
public:
    // Starts fontconfig's set-up on a worker thread when the process uses fontconfig.
    TFontSetup();
    ~TFontSetup();
    TFontSetup(const TFontSetup&) = delete;
    TFontSetup& operator=(const TFontSetup&) = delete;

    // Waits until the set-up has ended, so that the first font lookup finds it done
    // rather than loading a second configuration beside it.
    void Wait();

private:
    std::thread FThread;
};

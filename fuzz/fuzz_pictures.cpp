// Picture bytes, as a download or a file brings them: each input is decoded, its GIF frames
// are counted, timed and stepped, and the picture is drawn.
#include "fuzz_target.h"
#include "grid/base/pictures.h"
#include "platform/ui/canvas.h"

#include <memory>

namespace {
std::unique_ptr<TBitmap> Bmp;

const TFuzzRegistration Pictures({
    {"picture_bytes", [] { Bmp = std::make_unique<TBitmap>(64, 64); },
     [](const std::string& input) {
         THTMLPicture p;
         try {
             p.LoadFromBytes(QByteArray(input.data(), qsizetype(input.size())));
         } catch (const std::exception&) {
             return;
         }
         const int frames = p.FrameCount();
         for (int i = 1; i <= frames && i <= 4; ++i) p.GetFrameTime(i);
         try {
             if (frames > 1) p.SetFrame(2);
             for (int i = 0; i < 3; ++i) p.Step();
         } catch (const std::exception&) {
         }
         p.Draw(Bmp->Canvas(), {0, 0, 64, 64});
         p.SetStretch(true);
         p.Draw(Bmp->Canvas(), {0, 0, 64, 64});
         p.MaxWidth();
         p.MaxHeight();
     },
     {}, [] { Bmp.reset(); }},
});
}  // namespace

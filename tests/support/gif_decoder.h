#pragma once
// Animations read back with giflib's decoder, for the tests of what the program writes.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

namespace metopt::testsupport {

// An animation read back with giflib: each frame composed over the one before, and its delay.
struct Decoded {
    std::vector<QImage> pictures;
    std::vector<int> delays;
    bool loopsForever = false;
};

// The first blocks before the first frame: NETSCAPE2.0's loop count, 0 (forever).
inline bool LoopsForever(const SavedImage& image) {
    const ExtensionBlock* blocks = image.ExtensionBlocks;
    return image.ExtensionBlockCount >= 2 && blocks[0].Function == APPLICATION_EXT_FUNC_CODE &&
           std::string(reinterpret_cast<char*>(blocks[0].Bytes), 11) == "NETSCAPE2.0" &&
           std::vector<int>(blocks[1].Bytes, blocks[1].Bytes + 3) == std::vector<int>{1, 0, 0};
}

inline void Compose(QImage& picture, const SavedImage& image, const ColorMapObject& map) {
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
        for (int x = 0; x < d.Width; ++x) {
            const int index = image.RasterBits[y * d.Width + x];
            ASSERT_LT(index, map.ColorCount);
            const GifColorType& c = map.Colors[index];
            picture.setPixel(d.Left + x, d.Top + y, qRgb(c.Red, c.Green, c.Blue));
        }
    }
}

inline Decoded Decode(const std::string& fileName) {
    Decoded decoded;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(fileName.c_str(), &error);
    EXPECT_NE(gif, nullptr) << GifErrorString(error);
    if (gif == nullptr)
        return decoded;
    EXPECT_EQ(DGifSlurp(gif), GIF_OK) << GifErrorString(gif->Error);
    QImage picture(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        GraphicsControlBlock control{};
        EXPECT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK);
        EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT);
        EXPECT_EQ(control.TransparentColor, NO_TRANSPARENT_COLOR);
        const ColorMapObject* map =
            image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (map == nullptr)
            break;  // the frame count shows it
        Compose(picture, image, *map);
        decoded.pictures.push_back(picture.copy());
        decoded.delays.push_back(control.DelayTime);
    }
    decoded.loopsForever = gif->ImageCount > 0 && LoopsForever(gif->SavedImages[0]);
    DGifCloseFile(gif, &error);
    return decoded;
}

}  // namespace metopt::testsupport

#pragma once
// Expected image bytes written out by hand: little-endian fields at offsets, and the
// comparison of a whole range of an image against them.
#include "generate/bank_files.h"
#include "generate/gen_fixture.h"
#include "generate/image_dispatch.h"
#include "shell/state/shared_state.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

struct TField {
    int Off;
    int Width;  // bytes
    uint32_t Value;
};

inline void Put_Field(QByteArray& b, const TField& f)
{
    for (int i = 0; i < f.Width; ++i) b[f.Off + i] = static_cast<char>((f.Value >> (8 * i)) & 0xFF);
}

// `size` bytes of `fill` with the fields laid over them.
inline QByteArray Expected_Bytes(int size, std::initializer_list<std::vector<TField>> groups, char fill = '\0')
{
    QByteArray b(size, fill);
    for (const auto& g : groups)
        for (const TField& f : g) Put_Field(b, f);
    return b;
}

// A list of bytes written as numbers.
inline QByteArray Raw(std::initializer_list<int> bytes)
{
    QByteArray b;
    for (int v : bytes) b.append(static_cast<char>(v));
    return b;
}

// Compares image[from, from + expected.size()) byte by byte, naming the first difference.
inline ::testing::AssertionResult Bytes_At(const QByteArray& image, int from, const QByteArray& expected)
{
    if (image.size() < from + expected.size())
        return ::testing::AssertionFailure() << "image has " << image.size() << " bytes, needs " << from + expected.size();
    for (int i = 0; i < expected.size(); ++i)
        if (image[from + i] != expected[i])
            return ::testing::AssertionFailure() << "byte " << from + i << " is " << int(uint8_t(image[from + i])) << ", expected "
                                                 << int(uint8_t(expected[i]));
    return ::testing::AssertionSuccess();
}

// Builds and writes the images of the open configuration.
inline void Build_And_Save()
{
    Build_Device_Image();
    Save_Device_Image();
}

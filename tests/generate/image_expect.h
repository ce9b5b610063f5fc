#pragma once
// Expected image bytes written out by hand: little-endian fields at offsets, and the
// comparison of a whole range of an image against them.
#include "generate/bank_files.h"
#include "generate/gen_fixture.h"
#include "generate/image_dispatch.h"
#include "platform/core/exception.h"
#include "state/shared_state.h"

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

// Builds and writes; succeeds when an error of type E ends it with a text starting with `text`.
template <class E = Exception>
::testing::AssertionResult Build_Fails_With(const char* text)
{
    try {
        Build_And_Save();
    } catch (const E& e) {
        if (e.Message().startsWith(QLatin1String(text))) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "error text: " << e.Message().toStdString();
    }
    return ::testing::AssertionFailure() << "built";
}

// The CAN-family record at its start values, before any document is read.
inline const std::vector<TField> Can_Defaults = {
    {0, 4, 250000}, {16, 4, 10}, {20, 4, 0xFA},
    {44, 4, 2048}, {52, 4, 2048}, {60, 4, 2048}, {68, 4, 2048}, {76, 4, 2048}, {84, 4, 2048}, {92, 4, 2048},
    {96, 4, 0x101}, {100, 4, 0x202}, {104, 4, 0x303}, {108, 4, 0x404}, {112, 4, 0x505},
    {116, 4, 0x101}, {120, 4, 0x202}, {124, 4, 0x303}, {128, 4, 0x404}, {132, 4, 0x505},
    {140, 4, 0x64000}, {148, 4, 0x66000}, {152, 4, 0x5A2}, {156, 4, 0x4A0},
    {160, 4, 0x0CFFC400}, {164, 4, 0x0CFFB9C6}, {168, 4, 0x18FFC7C6}, {172, 4, 1000}, {176, 4, 1000},
};

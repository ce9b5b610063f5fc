#pragma once
// Little-endian writes into an image buffer.  Each returns the position after the bytes it
// wrote, so a layout reads as a chain of writes.  A value wider than its field keeps its
// low bytes.
#include <cstdint>
#include <cstring>

inline int32_t Put_U8(uint8_t* buf, int32_t pos, uint32_t v)
{
    buf[pos] = static_cast<uint8_t>(v);
    return pos + 1;
}

inline int32_t Put_U16(uint8_t* buf, int32_t pos, uint32_t v)
{
    buf[pos] = static_cast<uint8_t>(v);
    buf[pos + 1] = static_cast<uint8_t>(v >> 8);
    return pos + 2;
}

inline int32_t Put_U32(uint8_t* buf, int32_t pos, uint32_t v)
{
    buf[pos] = static_cast<uint8_t>(v);
    buf[pos + 1] = static_cast<uint8_t>(v >> 8);
    buf[pos + 2] = static_cast<uint8_t>(v >> 16);
    buf[pos + 3] = static_cast<uint8_t>(v >> 24);
    return pos + 4;
}

inline int32_t Put_Bytes(uint8_t* buf, int32_t pos, const uint8_t* src, int32_t count)
{
    std::memcpy(buf + pos, src, static_cast<size_t>(count));
    return pos + count;
}

inline int32_t Put_Fill(uint8_t* buf, int32_t pos, uint8_t value, int32_t count)
{
    std::memset(buf + pos, value, static_cast<size_t>(count));
    return pos + count;
}

inline uint16_t Get_U16(const uint8_t* buf, int32_t pos) { return static_cast<uint16_t>(buf[pos] | (buf[pos + 1] << 8)); }

inline uint32_t Get_U32(const uint8_t* buf, int32_t pos)
{
    return static_cast<uint32_t>(buf[pos]) | (static_cast<uint32_t>(buf[pos + 1]) << 8) |
           (static_cast<uint32_t>(buf[pos + 2]) << 16) | (static_cast<uint32_t>(buf[pos + 3]) << 24);
}

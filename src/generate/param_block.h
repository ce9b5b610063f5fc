#pragma once
// The 2048-byte block that carries a model's parameter record in its image: the record's
// fields in order, least significant byte first, zeros, and at offset 2044 the 32-bit sum
// of bytes 0 to 2043.
#include <cstdint>

constexpr int32_t Param_Block_Size = 2048;
constexpr int32_t Param_Block_Sum_Offset = 2044;

// Sum of `count` bytes taken as unsigned, modulo 2^32.
uint32_t Byte_Sum(const uint8_t* p, int32_t count);

// Writes one record as a parameter block at `pos` of `buf`:
//     TParamBlockWriter w(buf, pos);  w.U32(...); w.U16(...); ...;  next = w.Finish();
class TParamBlockWriter {
public:
    TParamBlockWriter(uint8_t* buf, int32_t pos) : FBuf(buf), FStart(pos), FPos(pos) {}

    void U8(uint32_t v);
    void U16(uint32_t v);
    void U32(uint32_t v);
    // An IPv4 address, mask or gateway: four single bytes in dotted order.
    void IPv4(const uint8_t (&octets)[4]);
    void Zeros(int32_t count);
    // Bytes of the record written so far.
    int32_t Record_Size() const { return FPos - FStart; }
    // Zeros up to the sum, the sum itself; returns the position after the block.
    int32_t Finish();

private:
    uint8_t* FBuf;
    int32_t FStart;
    int32_t FPos;
};

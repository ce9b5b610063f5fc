#include "generate/param_block.h"

#include "generate/image_writer.h"

#include <cassert>

uint32_t Byte_Sum(const uint8_t* p, int32_t count)
{
    uint32_t sum = 0;
    for (int32_t i = 0; i < count; ++i) sum += p[i];
    return sum;
}

void TParamBlockWriter::U8(uint32_t v) { FPos = Put_U8(FBuf, FPos, v); }
void TParamBlockWriter::U16(uint32_t v) { FPos = Put_U16(FBuf, FPos, v); }
void TParamBlockWriter::U32(uint32_t v) { FPos = Put_U32(FBuf, FPos, v); }
void TParamBlockWriter::IPv4(const uint8_t (&octets)[4]) { FPos = Put_Bytes(FBuf, FPos, octets, 4); }
void TParamBlockWriter::Zeros(int32_t count) { FPos = Put_Fill(FBuf, FPos, 0, count); }

int32_t TParamBlockWriter::Finish()
{
    assert(Record_Size() <= Param_Block_Sum_Offset);
    const int32_t sumPos = FStart + Param_Block_Sum_Offset;
    Put_Fill(FBuf, FPos, 0, sumPos - FPos);
    Put_U32(FBuf, sumPos, Byte_Sum(FBuf + FStart, Param_Block_Sum_Offset));
    FPos = FStart + Param_Block_Size;
    return FPos;
}

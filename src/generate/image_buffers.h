#pragma once
// The process-wide image buffers.  A builder fills them and sets the lengths; the bank
// file writers put them into the configuration's bin folder.  Nothing clears a whole
// buffer between builds: every builder writes each byte of its image up to the length it
// sets, so no byte of an earlier build reaches a file.
#include <cstdint>

constexpr int32_t Image_Buf_Size = 100001;   // offsets 0 to 100000
constexpr int32_t Bank_Buf_Size = 65536;

// Main image of every model.
extern uint8_t Image_Buf[Image_Buf_Size];
extern int32_t Image_Len;
// Second image of models 892 and 890 (bank2.bin), compact image of model 871 (bank.bin).
extern uint8_t Image_Buf2[Image_Buf_Size];
extern int32_t Image_Len2;
// Model 872: parameter block and frame tables of its co-processor.
extern uint8_t ESP32_Buf1[Image_Buf_Size];
extern int32_t ESP32_Len1;
extern uint8_t ESP32_Buf2[Image_Buf_Size];
extern int32_t ESP32_Len2;
// Model 872: banks written with a fixed length (3000 and 65,535 bytes).
extern uint8_t Bank_PG_Buf[Bank_Buf_Size];
extern uint8_t Bank_Data_Buf[Bank_Buf_Size];

#include "generate/image_buffers.h"

uint8_t Image_Buf[Image_Buf_Size];
int32_t Image_Len = 0;
uint8_t Image_Buf2[Image_Buf_Size];
int32_t Image_Len2 = 0;
uint8_t ESP32_Buf1[Image_Buf_Size];
int32_t ESP32_Len1 = 0;
uint8_t ESP32_Buf2[Image_Buf_Size];
int32_t ESP32_Len2 = 0;
uint8_t Bank_PG_Buf[Bank_Buf_Size];
uint8_t Bank_Data_Buf[Bank_Buf_Size];

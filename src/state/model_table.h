#pragma once
// The gateway model of this build and the table of codes of all twelve models.
#include <QString>

// Fixed by the program entry before any window exists; nothing changes it afterwards
// (tests switch it through their own scoped helper).
extern int Model_Code;

constexpr int Model_Count = 12;
// Position of a model in the tables below: 0..10 for Model_Code 0..10, 11 for 1006.
// -1 for a code that is no model.
int Model_Index(int modelCode);
bool Is_Valid_Model_Code(int modelCode);
// The twelve valid codes in table order.
extern const int Model_Codes[Model_Count];

extern const char16_t* const Model_SW_Codes[Model_Count];
extern const char16_t* const Model_Descriptions[Model_Count];
extern const char16_t* const Check_SW_Codes[11];

struct TModelInfo {
    const char16_t* Model;        // "891", ..., "QTB900"
    const char16_t* SW_Code;
    const char16_t* Description;
    const char16_t* Caption;      // main window caption, ends in one blank
    const char16_t* HW_Code;      // anchor of the download link
    const char16_t* Doc_Code;     // empty for QTB900
    const char16_t* Version;      // written into the documents
};
const TModelInfo& Model_Info(int modelCode);
// The row of the build's model.
const TModelInfo& Model_Table();

constexpr int Gateway_Memory_Size = 2000;
constexpr int DM1_Memory_Size = 100;

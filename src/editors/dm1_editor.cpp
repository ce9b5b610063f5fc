#include "editors/dm1_editor.h"

#include "editors/modbus_editors.h"
#include "state/model_table.h"
#include "state/shared_state.h"

TFDefineDM1_J1939* FDefineDM1_J1939 = nullptr;

TTableDesc TFDefineDM1_J1939::Describe()
{
    TTableDesc s;
    s.GridName = QStringLiteral("ACG");
    s.File = &File_Define_Alarms_DM1;
    s.Root = QStringLiteral("Define_Alarms_DM1");
    s.RowLimit = 100;
    s.ClientWidth = 995;
    s.KeyRule = krSkipEmpty;
    s.NumberHeader = 728;
    s.Columns = {
        Text_Column(729, 55, QStringLiteral("Position")),
        List_Column(730, 55, QStringLiteral("Bit_Pos"), Number_Items(0, 7)),
        Text_Column(731, 70, QStringLiteral("SNP")),
        Text_Column(732, 70, QStringLiteral("FMI")),
        List_Column(733, 70, QStringLiteral("CM"), {QStringLiteral("0"), QStringLiteral("1")}),
        List_Column(734, 70, QStringLiteral("Ver_CM"), Number_Items(1, 4)),
    };
    // the four lamps and their flash states, 0..3 each
    static const char* const lamps[8] = {"MIL", "RSL", "AWL", "PL", "FMIL", "FRSL", "FAWL", "FPL"};
    for (int i = 0; i < 8; ++i) s.Columns.push_back(Text_Column(735 + i, 50, QString::fromLatin1(lamps[i])));
    s.Columns.push_back(Text_Column(743, 134, QStringLiteral("Mnemonic")));
    const TColumnNames col(s.Columns);
    s.KeyCol = col(u"Position");
    s.Caption = 723;
    s.DescText = 724;
    s.BtnOK = 725;
    s.BtnCancel = 726;
    s.BtnDelRow = 727;
    s.ErrorPrefix = 744;
    // the table has no question of its own: the one of the other DM1 window of the model
    s.DeleteQuestion = 291;
    s.DeleteQuestionEnd = 292;
    const int cm = col(u"CM"), version = col(u"Ver_CM");
    s.Checks = {
        {745, {}, Out_Of(col(u"Position"), 0, DM1_Memory_Size - 1), [](int) { return QString::number(DM1_Memory_Size - 1); }},
        {746, {}, Out_Of(col(u"SNP"), 0, 524287)},
        {747, {}, Out_Of(col(u"FMI"), 0, 31)},
        {748, {}, Out_Of(cm, 0, 1)},
        {749, {}, Out_Of(version, 1, 4)},
        {750, {}, [this, cm, version](int r) { return Num(cm, r) == 0 && Num(version, r) != 4; }},
        {751, {}, [this, cm, version](int r) { return Num(cm, r) == 1 && Num(version, r) == 4; }},
    };
    for (int i = 0; i < 8; ++i) s.Checks.push_back({752 + i, {}, Out_Of(col(QString::fromLatin1(lamps[i])), 0, 3)});
    return s;
}

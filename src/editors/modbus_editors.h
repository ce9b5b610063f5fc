#pragma once
// Model 892's Modbus TCP request tables: the read requests, the write requests and the
// read requests that fill the DM1 alarm area of the gateway memory.
#include "editors/table_editor.h"
#include "state/model_table.h"

// The texts "from", ..., "to": the items of a drop-down list of numbers.
QStringList Number_Items(int from, int to);

// True when the text is not a dotted IPv4 address of four numbers 0..255 (each part
// parsed as any number of the tables, so " 10" and "0x0A" pass).
bool Check_IP_Address(const QString& IP_Address);

// The requests of the three request files of the open configuration that go into the
// device image, with `ownFile` counted as `ownRows` instead of what the file holds now.
// The DM1 read file counts only while the configuration sends DM1.
int Modbus_Requests_Total(const QString& ownFile, int ownRows);
// The configuration's J1939_Send_DM1 parameter is "1".
bool DM1_Sending_On();

// What the three request windows share: the columns of the request, the IP address and
// range checks, the position list refilled on every showing and the total of requests.
class TModbusRequestEditor : public TTableEditor {
public:
    void FormShow() override;

protected:
    // The number of byte positions the Position column offers for this showing.
    virtual int Position_Count() = 0;
    // The check after the walk: all request tables together fit the device image.
    QString Total_Check() const;
    // Rows written on OK.
    int Written_Rows() const;
};

class TFModbusReadRequest : public TModbusRequestEditor {
public:
    // Byte positions the Position column offers: the gateway memory, less the DM1 area
    // while the configuration sends DM1.
    int app_NUM_DATA_BYTES_892 = Gateway_Memory_Size;

protected:
    TTableDesc Describe() override;
    int Position_Count() override;
};

class TFModbusReadRequest_DM1_J1939 : public TModbusRequestEditor {
protected:
    TTableDesc Describe() override;
    int Position_Count() override { return DM1_Memory_Size; }
};

class TFModbusWriteRequest : public TModbusRequestEditor {
protected:
    TTableDesc Describe() override;
    int Position_Count() override { return Gateway_Memory_Size; }
};

extern TFModbusReadRequest* FModbusReadRequest;
extern TFModbusWriteRequest* FModbusWriteRequest;
extern TFModbusReadRequest_DM1_J1939* FModbusReadRequest_DM1_J1939;

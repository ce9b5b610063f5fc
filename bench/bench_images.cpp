// Building and writing both model 892 images of a configuration whose tables are full,
// against a plain pugixml parse of the same documents.
#include "generate/image_dispatch.h"
#include "state/model_table.h"
#include "state/shared_state.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

namespace {
void Write(const QString& path, const QString& text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
}

QString Rows(const char* root, int count, const QString& row)
{
    QString x = QStringLiteral("<%1>\n").arg(QLatin1String(root));
    for (int i = 0; i < count; ++i) x += QString(row).replace(QStringLiteral("#"), QString::number(i)) + QLatin1Char('\n');
    return x + QStringLiteral("</%1>\n<!--SW_VERSION = 1.205-->\n").arg(QLatin1String(root));
}

// A configuration at the editors' row limits: 250 receive and 250 transmit frames, 100 DM1
// alarms, and as many requests as the image holds (480 read, 100 DM1 read, 380 write).
// The folder comes from FABRICAT_BENCH_DIR when set (for example a tmpfs, to leave the
// disk's flush time out), else the system's temporary folder.
QString Bench_Template()
{
    const QByteArray base = qgetenv("FABRICAT_BENCH_DIR");
    return (base.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(base)) + QStringLiteral("/fabricat-bench-XXXXXX");
}

struct FullConf {
    QTemporaryDir dir{Bench_Template()};
    FullConf()
    {
        Model_Code = 2;
        Init_Folders(dir.path());
        Conf_Name = QStringLiteral("Full");
        Conf_Dir = Projects_Dir + QStringLiteral("/Full");
        QDir().mkpath(Conf_Dir + QStringLiteral("/bin"));
        Set_Files();
        Write(File_ParGen, QStringLiteral("<Par_Gen><J1939_BAUDRATE>5</J1939_BAUDRATE><J1939_TIMEOUT>5</J1939_TIMEOUT>"
                                          "<J1939_PEER_TO_PEER>0</J1939_PEER_TO_PEER><J1939_Device_ID>1</J1939_Device_ID>"
                                          "<J1939_Send_DM1>1</J1939_Send_DM1><J1939_Stop_Send_Frames>0</J1939_Stop_Send_Frames>"
                                          "<J1939_SSF_Num_Fails>1</J1939_SSF_Num_Fails></Par_Gen><!--SW_VERSION = 1.205-->"));
        const QString req = QStringLiteral(
            "<row IP_Address=\"192.168.0.#\" Port=\"502\" SlaveID=\"1\" Type=\"HOLDING REGISTER\" Address=\"#\" NPoint=\"1\" "
            "PollTime=\"100\" MaxError=\"3\" Position=\"0\" StartBit=\"0\" Swap=\"N\" OnChange=\"N\" Mnemonic=\"Request #\"/>");
        Write(File_Modbus_Read_Req, Rows("ModbusReadRequest", 480, req));
        Write(File_Modbus_Read_Req_DM1, Rows("ModbusReadRequest_DM1", 100, req));
        Write(File_Modbus_Write_Req, Rows("ModbusWriteRequest", 380, req));
        Write(File_J1939_Receive,
              Rows("ReceiveJ1939", 250,
                   QStringLiteral("<row DataPage=\"0\" PGN=\"65262\" SourceAddress=\"#\" TransportProtocol=\"N\" CancelData=\"Y\" "
                                  "StartByte=\"0\" NumBytes=\"8\" Mnemonic=\"Frame #\"/>")));
        Write(File_J1939_Transmit,
              Rows("TransmitJ1939", 250,
                   QStringLiteral("<row Priority=\"6\" DataPage=\"0\" PGN=\"65262\" SourceAddress=\"#\" NumByte=\"8\" Request=\"N\" "
                                  "DataChange=\"Y\" OnTimer=\"Y\" SendTimer=\"100\" Mnemonic=\"Frame #\"/>")));
        Write(File_Define_Alarms_DM1,
              Rows("Define_Alarms_DM1", 100,
                   QStringLiteral("<row Position=\"0\" Bit_Pos=\"1\" SNP=\"#\" FMI=\"3\" CM=\"0\" Ver_CM=\"4\" MIL=\"1\" RSL=\"0\" "
                                  "AWL=\"1\" PL=\"0\" FMIL=\"0\" FRSL=\"0\" FAWL=\"0\" FPL=\"0\" Mnemonic=\"Alarm #\"/>")));
    }
};

FullConf& Conf()
{
    static FullConf conf;
    return conf;
}

void BM_BuildAndSaveImages892(benchmark::State& state)
{
    Conf();
    for (auto _ : state) {
        Build_Device_Image();
        Save_Device_Image();
    }
}
BENCHMARK(BM_BuildAndSaveImages892)->Unit(benchmark::kMicrosecond);

// The two halves on their own.
void BM_BuildImages892(benchmark::State& state)
{
    Conf();
    for (auto _ : state) Build_Device_Image();
}
BENCHMARK(BM_BuildImages892)->Unit(benchmark::kMicrosecond);

void BM_SaveImages892(benchmark::State& state)
{
    Conf();
    Build_Device_Image();
    for (auto _ : state) Save_Device_Image();
}
BENCHMARK(BM_SaveImages892)->Unit(benchmark::kMicrosecond);

void BM_RawParseOfTheSameDocuments(benchmark::State& state)
{
    Conf();
    const QString files[] = {File_ParGen, File_Modbus_Read_Req, File_Modbus_Read_Req_DM1, File_Modbus_Write_Req,
                             File_J1939_Receive, File_J1939_Transmit, File_Define_Alarms_DM1};
    for (auto _ : state) {
        for (const QString& f : files) {
            pugi::xml_document doc;
            benchmark::DoNotOptimize(doc.load_file(f.toLocal8Bit().constData()));
        }
    }
}
BENCHMARK(BM_RawParseOfTheSameDocuments)->Unit(benchmark::kMicrosecond);
}  // namespace


BENCHMARK_MAIN();

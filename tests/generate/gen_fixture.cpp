#include "generate/gen_fixture.h"

#include "generate/image_dispatch.h"

#include "platform/core/paths.h"
#include "state/shared_state.h"

#include <QDir>
#include <gtest/gtest.h>
#include <QFile>

namespace {
QString Escaped(const QString& s) { return s.toHtmlEscaped(); }
}  // namespace

QByteArray Table_File_Xml(const char* root, const std::vector<TRowAttrs>& rows)
{
    QString x = QStringLiteral("<%1>").arg(QLatin1String(root));
    for (const TRowAttrs& row : rows) {
        x += QStringLiteral("<row");
        for (const auto& [name, value] : row)
            if (!value.isNull()) x += QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), Escaped(value));
        x += QStringLiteral("/>");
    }
    x += QStringLiteral("</%1><!--SW_VERSION = 1.205-->").arg(QLatin1String(root));
    return x.toUtf8();
}

void Write_Raw(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

void Write_Table_File(const QString& path, const char* root, const std::vector<TRowAttrs>& rows)
{
    Write_Raw(path, Table_File_Xml(root, rows));
}

void Write_ParGen(const std::vector<std::pair<const char*, QString>>& keys)
{
    QString x = QStringLiteral("<Par_Gen>");
    for (const auto& [key, value] : keys) x += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(key), Escaped(value));
    x += QStringLiteral("</Par_Gen><!--SW_VERSION = 1.205-->");
    Write_Raw(File_ParGen, x.toUtf8());
}

TGenConf::TGenConf(int modelCode, bool withBin) : FModel(modelCode)
{
    Conf_Name = QStringLiteral("Conf");
    Conf_Dir = PathJoin(Projects_Dir, Conf_Name);
    QDir().mkpath(Conf_Dir);
    if (withBin) QDir().mkpath(Bin_Dir());
    Set_Files();
}

QString TGenConf::Bin_Dir() const { return PathJoin(Conf_Dir, QStringLiteral("bin")); }

QByteArray TGenConf::Bank(const char* name) const
{
    QFile f(PathJoin(Bin_Dir(), QString::fromLatin1(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TGenConf::Has_Bank(const char* name) const { return FileExists(PathJoin(Bin_Dir(), QString::fromLatin1(name))); }

uint8_t U8_At(const QByteArray& image, int pos) { return static_cast<uint8_t>(image.at(pos)); }
uint16_t U16_At(const QByteArray& image, int pos) { return static_cast<uint16_t>(U8_At(image, pos) | (U8_At(image, pos + 1) << 8)); }
uint32_t U32_At(const QByteArray& image, int pos) { return U16_At(image, pos) | (static_cast<uint32_t>(U16_At(image, pos + 2)) << 16); }

uint32_t Sum_Of(const QByteArray& image, int from, int count)
{
    uint32_t s = 0;
    for (int i = from; i < from + count; ++i) s += U8_At(image, i);
    return s;
}

QByteArray Bytes(std::initializer_list<int> b)
{
    QByteArray a;
    for (int v : b) a.append(static_cast<char>(v));
    return a;
}

void Build_And_Save()
{
    Build_Device_Image();
    Save_Device_Image();
}

#include "state/settings.h"

#include "platform/core/paths.h"
#include "platform/core/xml.h"
#include "state/shared_state.h"

namespace {
// The text of root/group/key, or false when any step is missing or not plain text.
bool ReadKey(pugi::xml_node root, const char* group, const char* key, QString& value)
{
    return XmlTryText(XmlChild(XmlChild(root, group), key), value);
}
}  // namespace

QString Settings_File_Path() { return PathJoin(Exe_Dir, QStringLiteral("Fabricat.xml")); }

void Read_Settings()
{
    Conf_Name.clear();
    Last_IP = QString::fromLatin1(Default_Last_IP);
    Lang_Name = QString::fromLatin1(Default_Lang_Name);
    Enable_Internet = false;
    Enable_Update = false;
    const QString path = Settings_File_Path();
    if (!FileExists(path)) return;
    pugi::xml_document doc;
    if (!XmlLoadFile(doc, path)) return;  // not XML: all defaults, no message
    const pugi::xml_node root = XmlRoot(doc);
    QString v;
    if (ReadKey(root, "lastproj", "projectname", v)) Conf_Name = v;
    if (ReadKey(root, "lastipadd", "ipaddress", v)) Last_IP = v;
    if (ReadKey(root, "lastlang", "language", v)) Lang_Name = v;
    if (ReadKey(root, "lastinternet", "enable_internet", v)) Enable_Internet = v == QLatin1String("1");
    if (ReadKey(root, "lastinternet", "enable_update", v)) Enable_Update = v == QLatin1String("1");
}

void Write_Settings()
{
    pugi::xml_document doc;
    pugi::xml_node root = XmlAddChild(doc, "Conf_Settings");
    XmlAddTextChild(XmlAddChild(root, "lastproj"), "projectname", Conf_Name);
    XmlAddTextChild(XmlAddChild(root, "lastipadd"), "ipaddress", Last_IP);
    XmlAddTextChild(XmlAddChild(root, "lastlang"), "language", Lang_Name);
    pugi::xml_node net = XmlAddChild(root, "lastinternet");
    XmlAddTextChild(net, "enable_internet", Enable_Internet ? QStringLiteral("1") : QStringLiteral("0"));
    XmlAddTextChild(net, "enable_update", Enable_Update ? QStringLiteral("1") : QStringLiteral("0"));
    XmlSaveFile(doc, Settings_File_Path());
}

#include "generate/gsd_checks.h"

#include "platform/core/exception.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/core/xml.h"
#include "shell/state/shared_state.h"

namespace {

pugi::xml_node Load_Root(pugi::xml_document& doc, const QString& path)
{
    QString error;
    if (!XmlLoadFile(doc, path, &error)) throw Exception(QStringLiteral("%1: %2").arg(path, error));
    return XmlRoot(doc);
}

bool Key_Is_One(pugi::xml_node root, const char* key)
{
    QString text;
    return XmlTryText(XmlChild(root, key), text) && text == QLatin1String("1");
}

}  // namespace

int Check_Profibus_Limits()
{
    bool modulePerFrame = false, sendStatus = false;
    if (FileExists(File_ParGen)) {
        pugi::xml_document doc;
        const pugi::xml_node root = Load_Root(doc, File_ParGen);
        modulePerFrame = Key_Is_One(root, "Profi_Module");
        sendStatus = Key_Is_One(root, "Profi_Send_J1939");
    }
    if (!modulePerFrame && !sendStatus) return 0;

    pugi::xml_document rxDoc, txDoc;
    pugi::xml_node rxRoot, txRoot;
    if (FileExists(File_J1939_Receive)) rxRoot = Load_Root(rxDoc, File_J1939_Receive);
    if (FileExists(File_J1939_Transmit)) txRoot = Load_Root(txDoc, File_J1939_Transmit);
    int rx = 0, tx = 0;
    for (pugi::xml_node r = rxRoot.first_child(); r; r = r.next_sibling()) ++rx;
    for (pugi::xml_node r = txRoot.first_child(); r; r = r.next_sibling()) ++tx;

    if (modulePerFrame) {
        for (pugi::xml_node r = rxRoot.first_child(); r; r = r.next_sibling()) {
            const QString tp = XmlHasAttr(r, "TransportProtocol") ? UpperCase(Trim(XmlAttr(r, "TransportProtocol"))) : QStringLiteral("N");
            if (tp == QLatin1String("Y") && StrToIntDef(XmlAttr(r, "NumBytes"), 0) > 64) return 717;
        }
        if (sendStatus && rx + tx + 2 > 61) return 718;
    }
    if (sendStatus) {
        const int status = (tx + 7) / 8;
        if (status > 0) {
            int total = status;
            for (pugi::xml_node r = rxRoot.first_child(); r; r = r.next_sibling())
                total += XmlAttr(r, "TransportProtocol") == QLatin1String("Y") ? StrToIntDef(XmlAttr(r, "NumBytes"), 0) : 8;
            if (total > 244) return 719;
        }
    }
    return 0;
}

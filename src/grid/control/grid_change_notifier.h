#pragma once
// A follower of a grid's cell changes: registered with the grid (RegisterNotifier), it hears
// each changed cell range after the grid's OnCellsChanged.  Descendants override CellsChanged.
#include "platform/core/classes.h"
#include "platform/ui/canvas.h"

#include <QObject>

class TGridChangeNotifier : public QObject, public TObject {
public:
    explicit TGridChangeNotifier(QObject* AOwner = nullptr) : QObject(AOwner) {}
    QString ClassName() const override { return QStringLiteral("TGridChangeNotifier"); }
    virtual void CellsChanged(TRect R) { (void)R; }
};

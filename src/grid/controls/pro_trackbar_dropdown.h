#pragma once
// An integer drop-down edit whose pop-up is a horizontal track bar.  With typing off, the
// arrow keys step the value by the tick frequency and dragging the mouse across the edit
// changes it by one per page size of pixels.
#include "grid/controls/pro_custom_dropdown.h"

class QSlider;

class TProTrackBarDropDown : public TProCustomDropDown {
public:
    explicit TProTrackBarDropDown(QWidget* AParent = nullptr);

    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int v);
    // The track bar, made with the form.
    QSlider* TrackBar() const { return FTrackBar; }
    std::function<void(QObject* Sender)> OnTrackChange;

protected:
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void HandleKeyDown(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void TrackBarChange();
    void Change();
    QSlider* FTrackBar = nullptr;
    int FMin = 0, FMax = 10, FPosition = 0, FPageSize = 2, FFrequency = 1;
    bool FDragging = false;
    int FLastX = 0;
};

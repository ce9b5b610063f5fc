#pragma once
// The pop-up form of the drop-down controls: a borderless pop-up that paints its background
// and border, closes itself when the user clicks or activates elsewhere, and holds an
// optional header panel at the top, the drop-down's control, and an optional footer panel
// at the bottom whose corner grip sizes the form.  Header and footer draw a mini-HTML
// caption, an image and a row of push buttons whose clicks reach the drop-down's events.
#include "grid/controls/dropdown_buttons.h"
#include "platform/ui/canvas.h"
#include "platform/ui/panel.h"
#include "platform/ui/popup_window.h"
#include "platform/ui/size_grip.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TCustomImageList;
class TProCustomDropDown;

// A pointer list whose indexed access checks the bounds.
template <typename T> class TDbgList {
public:
    int Count() const { return int(FItems.size()); }
    T* GetItemsEx(int Index) const;
    void SetItemsEx(int Index, T* Item);
    void Add(T* Item) { FItems.push_back(Item); }
    void Clear() { FItems.clear(); }
    void AssignList(const TDbgList& ListA) { FItems = ListA.FItems; }
    T* Last() const { return FItems.empty() ? nullptr : FItems.back(); }

private:
    std::vector<T*> FItems;
};

// A push button of the header (the footer's add a modal result).
class THeaderButton {
public:
    explicit THeaderButton(std::function<void()> Changed) : FChanged(std::move(Changed)) {}
    virtual ~THeaderButton() = default;
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    int Width() const { return FWidth; }
    void SetWidth(int v);
    int Height() const { return FHeight; }
    void SetHeight(int v) { FHeight = v; }
    int ImageIndex = -1;
    int ModalResult = 0;
    void Assign(const THeaderButton& Source);

private:
    void Changed()
    {
        if (FChanged) FChanged();
    }
    std::function<void()> FChanged;
    QString FCaption;
    bool FEnabled = true;
    int FWidth = 0, FHeight = 0;
};
using TFooterButton = THeaderButton;

// The buttons of a header or footer; a change of one fires OnChange.
class THeaderButtons {
public:
    THeaderButton* Add();
    int Count() const { return int(FItems.size()); }
    THeaderButton* Items(int Index) const { return FItems.at(Index).get(); }
    void Clear();
    void Delete(int Index);
    void Assign(const THeaderButtons& Source);
    std::function<void()> OnChange;

private:
    void Changed()
    {
        if (OnChange) OnChange();
    }
    std::vector<std::unique_ptr<THeaderButton>> FItems;
};
using TFooterButtons = THeaderButtons;

enum TButtonAlignment { baLeft, baRight };

// The look of the form's header (and, with the size grip, of its footer).  The owner (a
// drop-down, or the grid whose look hands it on) plays no part.
class THeaderAppearance : public TPersistent {
public:
    explicit THeaderAppearance(QObject* AOwner = nullptr);
    QString ClassName() const override { return QStringLiteral("THeaderAppearance"); }
    void Assign(const THeaderAppearance& Source);
    void Assign(const TPersistent* Source) override
    {
        if (auto* same = dynamic_cast<const THeaderAppearance*>(Source)) Assign(*same);
    }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    int Height = 22;
    QString Caption;
    TFont Font;
    TColor Color = 0xC0C0C0, ColorTo = 0xFFFFFF;
    TGradientDirection GradientDirection = gdVertical;
    TColor BorderColor = clBlack;
    int BorderWidth = 1;
    int ImageIndex = -1;
    THeaderButtons& Buttons() { return FButtons; }
    TButtonAlignment ButtonAlignment = baRight;
    // Footer only: the corner grip sizes the form.
    bool SizeGrip = true;
    // Fired by Visible writes; OnButtonsChanged by changes of the buttons.
    std::function<void()> OnChange, OnButtonsChanged;

private:
    bool FVisible = true;
    THeaderButtons FButtons;
};

class TFooterAppearance : public THeaderAppearance {
public:
    explicit TFooterAppearance(QObject* AOwner = nullptr) : THeaderAppearance(AOwner) { Font = TFont(); }
    QString ClassName() const override { return QStringLiteral("TFooterAppearance"); }
};

class TDropDownForm;

// The header panel; the footer is one with the edge line at its top and the size grip.
class TProHeader : public TCustomPanel {
public:
    TProHeader(TDropDownForm* AForm, bool AFooter);
    ~TProHeader() override;
    THeaderAppearance& Appearance() { return FAppearance; }
    TCustomImageList* Images() const { return FImages; }
    THeaderButtons* Buttons() const;
    void AttachDropDown(TProCustomDropDown* DropDown);
    void RebuildButtons();
    // The appearance changed: visibility and height follow it.
    void AppearanceChanged();
    int ButtonCount() const { return FButtonList.Count(); }
    TProButton* CreatedButton(int Index) const { return FButtonList.GetItemsEx(Index); }
    bool GripActive() const;
    std::function<void(QObject* Sender, TCanvas* ACanvas, TRect ARect)> OnDrawBackGround;
    std::function<void(QObject* Sender, QString& Text)> OnGetText;

protected:
    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void UpdateButtons();
    void Paint(TCanvas& Canvas) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TRect ButtonArea() const;
    bool InGripCorner(const QPoint& p) const;
    void ButtonClick(TProButton* Button);
    TDropDownForm* FForm;
    bool FFooter;
    TProCustomDropDown* FProDropDown = nullptr;
    THeaderAppearance FAppearance;
    TCustomImageList* FImages = nullptr;
    TDbgList<TProButton> FButtonList;
    std::unique_ptr<TSizeGrip> FGrip;
};
using TProFooter = TProHeader;

class TDropDownForm : public TPopupWindow {
public:
    explicit TDropDownForm(TProCustomDropDown* AOwner);
    TProCustomDropDown* ProDropDown() const { return FProDropDown; }
    bool Shadow = true;
    // Hiding on deactivation restores the value.
    bool CancelOnDeActivate = true;
    bool Sizeable = false;
    TProHeader* Header() const { return FHeader; }
    TProHeader* Footer() const { return FFooter; }
    // Creates or refreshes header and footer from the drop-down's appearances.
    void InitializeAndUpdate();
    // The client area used for aligning: the form shrunk by the drop-down's border width.
    TRect AlignRect() const;
    // Lays the header, the control and the footer out in the client area.
    void Realign();
    std::function<void()> OnSizing, OnWheelDown, OnWheelUp;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    TProCustomDropDown* FProDropDown;
    TProHeader* FHeader = nullptr;
    TProHeader* FFooter = nullptr;
};

#include "editors/ok_cancel_panel.h"

#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/lb_button.h"
#include "platform/ui/window_look.h"

#include <QFrame>

TOKCancelPanel Make_OK_Cancel_Panel(QWidget* form, std::function<void()> onOK)
{
    TOKCancelPanel p;
    p.Panel = Make_Button_Panel(form);
    p.OK = Make_Button(p.Panel, "Btn_OK", 16, 6, 110, 28);
    p.OK->SetGlyph(Shell_Glyph('o'));
    if (onOK)
        p.OK->OnClick = std::move(onOK);
    else
        p.OK->SetModalResult(mrOk);
    p.Cancel = Make_Button(p.Panel, "Btn_Cancel", 134, 6, 110, 28);
    p.Cancel->SetGlyph(Shell_Glyph('c'));
    p.Cancel->SetModalResult(mrCancel);
    p.Cancel->SetCancel(true);
    return p;
}

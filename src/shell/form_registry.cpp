#include "shell/form_registry.h"

#include "platform/core/exception.h"
#include "platform/ui/forms.h"

#include <QPointer>
#include <vector>

namespace {
struct Entry {
    QString Name;
    QPointer<TForm> Form;
    std::function<void()> SetLang;
};
std::vector<Entry>& Forms()
{
    static std::vector<Entry> list;
    return list;
}
Entry* Find(const QString& name)
{
    for (Entry& e : Forms())
        if (e.Name == name) return &e;
    return nullptr;
}
}  // namespace

void Register_Form(const QString& name, TForm* form, std::function<void()> setLang)
{
    if (Entry* e = Find(name)) {
        e->Form = form;
        e->SetLang = std::move(setLang);
        return;
    }
    Forms().push_back(Entry{name, form, std::move(setLang)});
}

void Unregister_Form(const QString& name)
{
    auto& list = Forms();
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->Name == name) {
            list.erase(it);
            return;
        }
}

TForm* Find_Form(const QString& name)
{
    Entry* e = Find(name);
    return e ? e->Form.data() : nullptr;
}

TForm& Need_Form(const QString& name)
{
    TForm* f = Find_Form(name);
    if (!f) throw Exception(QStringLiteral("No window is registered under the name \"%1\".").arg(name));
    return *f;
}

int Show_Form(const QString& name) { return Need_Form(name).ShowModal(); }

void Apply_Lang_To_Forms()
{
    // a copy: a Set_Lang may register or drop windows
    const std::vector<Entry> list = Forms();
    for (const Entry& e : list)
        if (e.Form && e.SetLang) e.SetLang();
}

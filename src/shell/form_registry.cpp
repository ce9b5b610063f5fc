#include "shell/form_registry.h"

#include "platform/core/exception.h"
#include "platform/ui/forms.h"

#include <QPointer>
#include <QStringList>
#include <vector>

namespace {
struct Entry {
    QString Name;
    QPointer<TForm> Form;
    std::function<void()> SetLang;
    std::function<void()> Create;   // the creation step, until it has run
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

// Runs the window's creation step if it has not run yet; taken out first, so that the
// step may ask for its own window.
void Complete(const QString& name)
{
    Entry* e = Find(name);
    if (!e || !e->Create) return;
    const std::function<void()> create = std::move(e->Create);
    e->Create = nullptr;
    if (e->Form) create();
}

// The entry of a window whose creation step has run.
Entry* Find_Created(const QString& name)
{
    Complete(name);
    return Find(name);
}
}  // namespace

void Register_Pending_Form(const QString& name, TForm* form, std::function<void()> setLang,
                           std::function<void()> create)
{
    if (Entry* e = Find(name)) {
        e->Form = form;
        e->SetLang = std::move(setLang);
        e->Create = std::move(create);
        return;
    }
    Forms().push_back(Entry{name, form, std::move(setLang), std::move(create)});
}

void Register_Form(const QString& name, TForm* form, std::function<void()> setLang)
{
    Register_Pending_Form(name, form, std::move(setLang), {});
}

bool Form_Pending(const QString& name)
{
    const Entry* e = Find(name);
    return e && e->Create;
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
    Entry* e = Find_Created(name);
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
    // the names first: a creation step or a Set_Lang may register or drop windows
    QStringList names;
    for (const Entry& e : Forms()) names << e.Name;
    for (const QString& name : names) {
        // a window not yet created gets the language texts of now from its creation step,
        // and then its Set_Lang as every other window
        const Entry* e = Find_Created(name);
        if (!e || !e->Form || !e->SetLang) continue;
        const std::function<void()> setLang = e->SetLang;
        setLang();
    }
}

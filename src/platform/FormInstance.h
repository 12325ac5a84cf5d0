#pragma once
// One loaded instance of a window class, as a form that is loaded on first
// use and unloaded when it closes: Load creates it (in the list of loaded
// windows) when it is not loaded, Loaded names it while it is (nullptr
// otherwise), Unload runs its close handling and takes it out of the list.
#include "platform/LoadedForms.h"

#include <QPointer>
#include <QWidget>
#include <algorithm>

namespace platform {

template <class Form> class FormInstance
{
public:
    static Form* Loaded()
    {
        Form* form = slot().data();
        if (form == nullptr)
            return nullptr;
        const std::vector<QWidget*> loaded = LoadedForms();
        return std::find(loaded.begin(), loaded.end(), form) != loaded.end() ? form : nullptr;
    }
    static Form* Load()
    {
        if (Loaded() == nullptr) {
            auto* form = new Form();
            form->setAttribute(Qt::WA_DeleteOnClose);
            LoadForm(form);
            slot() = form;
        }
        return slot().data();
    }
    static void Unload()
    {
        if (Form* form = Loaded()) {
            slot().clear();
            form->close();
            UnloadForm(form);
        }
    }

private:
    static QPointer<Form>& slot()
    {
        static QPointer<Form> instance;
        return instance;
    }
};

} // namespace platform

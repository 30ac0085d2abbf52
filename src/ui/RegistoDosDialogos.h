// Qt's file dialog keeps its history (recent folders, the last one visited) under the user's
// QtProject settings when it closes: on Windows that is the registry, where it would outlive
// the program and its uninstaller. The program keeps its own dialog folders for the run, so
// whatever the dialog writes there is taken back once it is gone.
#pragma once

#include <memory>

// Notes the dialog history as it is; when destroyed, puts it back as it was: values restored,
// keys the dialog created removed. Declared before the dialog, so that it outlives it. Does
// nothing where the history goes to a file of this run (everywhere but Windows).
class TGuardaDoRegistoDosDialogos {
public:
    TGuardaDoRegistoDosDialogos();
    ~TGuardaDoRegistoDosDialogos();
    TGuardaDoRegistoDosDialogos(const TGuardaDoRegistoDosDialogos&) = delete;
    TGuardaDoRegistoDosDialogos& operator=(const TGuardaDoRegistoDosDialogos&) = delete;

private:
    struct TEstado;
    std::unique_ptr<TEstado> FAntes;
};

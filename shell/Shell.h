#pragma once
// The application shell: the entry's windows and the application object.

#include <QApplication>
#include <QPointer>

class TTntMainForm;
class TformAboutUs;

// The main window once the splash window has created it; the farewell window once shown.
extern QPointer<TTntMainForm> TntMainForm;
extern QPointer<TformAboutUs> formAboutUs;

// The application object. A close request addressed to the application as a whole goes to
// the splash window, which refuses it and runs the shutdown chain. An error that escapes an
// event handler without passing through RunHandler is shown in the standard error box.
class TGolvarApplication final : public QApplication {
    Q_OBJECT
public:
    TGolvarApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
};

// A close request addressed to the application as a whole: the splash window's close handler
// refuses it and runs the shutdown chain. It reaches the handler also while the splash
// window is already closing (a create handler's error box shown from within its chain),
// when a close of the window itself would be dropped.
void RequestApplicationClose();

// Names the application (settings, desktop entry), sets its reading order, icon and quit
// rule.
void SetUpGolvarApplication();

// Sets the application up, creates the splash window and the hidden information windows,
// runs the message loop and destroys the windows at its end.
int RunGolvarQuran(TGolvarApplication& application);

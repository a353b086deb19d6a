#pragma once
// The application shell: the entry's windows and the application object.

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <optional>

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

// The content the reader starts on, from its command line (recordings/UserContent.h,
// EnterContentFolder): "--content DIR", a folder named by the user and read as it stands;
// "--default-content DIR", the content used unless the user has recordings of their own (how
// `make run` and the installed launcher start it); nothing, the working folder as it stands.
struct ContentArguments {
    QString Folder; // empty: the working folder
    bool Named = true;
};
// Nothing for arguments of any other form.
std::optional<ContentArguments> ParseContentArguments(const QStringList& arguments);

// Reads the command line, enters the content folder, sets the application up, creates the
// splash window and the hidden information windows,
// runs the message loop and destroys the windows at its end.
int RunGolvarQuran(TGolvarApplication& application);

#include "memorise/NoteDialog.h"

#include "learning/LearnerData.h"
#include "memorise/MemoriseCaptions.h"
#include "model/AyehSearch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString AyehTooltip(const QString& translation, const QString& note) {
    const QString kept = note.trimmed();
    if (kept.isEmpty())
        return translation;
    const QString line = CaptionTooltipNote.arg(kept);
    return translation.isEmpty() ? line : translation + QStringLiteral("\n\n") + line;
}

TNoteDialog::TNoteDialog(QWidget* parent, LearnerData& learner, int sourehId, int ayehId,
                         const QString& sourehName)
    : QDialog(parent), Data(learner), SourehID(sourehId), AyehID(ayehId) {
    setWindowTitle(CaptionNoteTitle.arg(sourehName, PersianNumber(ayehId)));
    setLayoutDirection(Qt::RightToLeft);
    Text = new QPlainTextEdit(this);
    Text->setPlainText(Data.Note(sourehId, ayehId));
    Error = new QLabel(this);
    Error->setWordWrap(true);
    Error->hide();
    SaveButton = new QPushButton(CaptionSaveNote, this);
    RemoveButton = new QPushButton(CaptionRemoveNote, this);
    RemoveButton->setEnabled(!Text->toPlainText().isEmpty());
    CancelButton = new QPushButton(CaptionCancel, this);
    connect(SaveButton, &QPushButton::clicked, this, &TNoteDialog::Save);
    connect(RemoveButton, &QPushButton::clicked, this, &TNoteDialog::Remove);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SaveButton);
    buttons->addWidget(RemoveButton);
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(CaptionNotePrompt, this));
    layout->addWidget(Text, 1);
    layout->addWidget(Error);
    layout->addLayout(buttons);
    resize(420, 260);
}

bool TNoteDialog::Keep(const QString& text) {
    try {
        Data.SetNote(SourehID, AyehID, text);
    } catch (const std::exception& error) {
        Error->setText(CaptionNoteNotSaved.arg(QString::fromUtf8(error.what())));
        Error->show();
        return false;
    }
    accept();
    return true;
}

bool TNoteDialog::Save() {
    return Keep(Text->toPlainText());
}

bool TNoteDialog::Remove() {
    return Keep(QString());
}

// The licence and the third-party notices, shown from the About box.
// SPDX-License-Identifier: MIT
#include "platform/desktop/licences_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ruvo {

// Written by the build (embed_texts.cmake).
extern const char kLicenceText[];
extern const char kNoticesText[];

void ShowLicences(QWidget* parent)
{
    // On the heap, as the game's dialogs are: should its owner go away while
    // it is open, it takes the viewer with it.
    QPointer<QDialog> dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("Ruvo Licences"));
    auto* tabs = new QTabWidget(dialog);
    const struct {
        const char* text;
        const char* tab;
        const char* object;
    } pages[] = {{kLicenceText, "Ruvo", "licenceText"}, {kNoticesText, "Third-party notices", "noticesText"}};
    for (const auto& page : pages) {
        auto* text = new QPlainTextEdit(QString::fromUtf8(page.text), tabs);
        text->setObjectName(QString::fromLatin1(page.object));
        text->setReadOnly(true);
        // The texts are laid out in columns of a fixed-width face.
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        tabs->addTab(text, QString::fromLatin1(page.tab));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    dialog->resize(660, 480);
    dialog->exec();
    delete dialog.data();
}

} // namespace ruvo

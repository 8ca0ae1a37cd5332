#include "platform/desktop/licences_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ruvo {
namespace {

QString BuiltInText(const QString& name)
{
    QFile file(QStringLiteral(":/licences/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

void ShowLicences(QWidget* parent)
{
    // On the heap, as the game's dialogs are: should its owner go away while
    // it is open, it takes the viewer with it.
    QPointer<QDialog> dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("Ruvo Licences"));
    auto* tabs = new QTabWidget(dialog);
    const struct {
        const char* file;
        const char* tab;
        const char* object;
    } pages[] = {{"LICENSE", "Ruvo", "licenceText"}, {"THIRD_PARTY_NOTICES", "Third-party notices", "noticesText"}};
    for (const auto& page : pages) {
        auto* text = new QPlainTextEdit(BuiltInText(QString::fromLatin1(page.file)), tabs);
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

// Where the dialogs and their controls go: the templates' dialog units
// turned into pixels with the dialog font, the dialogs over the play field,
// nothing overlapping or clipped, the focus only where it belongs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "platform/desktop/template_dialog.h"
#include "render/icon.h"
#include "resources/embedded.h"
#include "support/qt_application.h"

namespace ruvo {
namespace {

class DialogLayout : public ::testing::Test {
  protected:
    // The play field lies inside the game window, under the menu bar.
    void SetUp() override
    {
        LoadIconPair(&resources_, Icons().largeIcon, 501, 32);
        gameWindow_.setGeometry(40, 30, 384, 220);
        playField_ = new QWidget(&gameWindow_);
        playField_->setGeometry(0, 20, 384, 200);
        gameWindow_.show();
    }

    // Dialog units to pixels, from the font's letters as the dialog manager counts them.
    QRect Pixels(const TemplateDialog& dialog, int x, int y, int width, int height) const
    {
        const QFontMetrics metrics(dialog.font());
        const int across =
            (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
        const int down = metrics.height();
        const auto scale = [](int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; };
        return {scale(x, across, 4), scale(y, down, 8), scale(width, across, 4), scale(height, down, 8)};
    }

    testing::QtApplicationFirst application_; // before every widget
    EmbeddedResources resources_;
    QWidget gameWindow_;
    QWidget* playField_ = nullptr;
};

const DialogTemplate* const kAllTemplates[] = {&AboutTemplate(), &OptionTemplate(), &HighScoreTemplate(),
                                               &InputTemplate()};

TEST_F(DialogLayout, UsesTheJapaneseGothicFaceAtNinePoints)
{
    const QFontInfo face(DialogFont());
    EXPECT_TRUE(face.family().contains("Gothic") || face.family().contains(QString::fromUtf8("ゴシック")))
        << face.family().toStdString();
    EXPECT_EQ(face.pixelSize(), 12);
}

TEST_F(DialogLayout, ControlsSitWhereTheTemplatesPutThem)
{
    TemplateDialog about(AboutTemplate(), playField_);
    EXPECT_EQ(about.size(), Pixels(about, 0, 0, 133, 47).size());
    EXPECT_EQ(about.Control(kOkId)->geometry(), Pixels(about, 46, 30, 41, 12));
    EXPECT_EQ(about.Control(401)->geometry(), QRect(Pixels(about, 9, 6, 0, 0).topLeft(), QSize(32, 32)));

    TemplateDialog option(OptionTemplate(), playField_);
    EXPECT_EQ(option.size(), Pixels(option, 0, 0, 155, 170).size());
    EXPECT_EQ(option.Control(402)->geometry(), Pixels(option, 60, 10, 25, 12));
    EXPECT_EQ(option.Control(406)->geometry(), Pixels(option, 60, 90, 25, 12));
    EXPECT_EQ(option.Control(409)->geometry(), Pixels(option, 60, 150, 25, 12));
    EXPECT_EQ(option.Control(kOkId)->geometry(), Pixels(option, 95, 10, 50, 14));
    EXPECT_EQ(option.Control(kCancelId)->geometry(), Pixels(option, 95, 27, 50, 14));

    TemplateDialog table(HighScoreTemplate(), playField_);
    EXPECT_EQ(table.size(), Pixels(table, 0, 0, 183, 161).size());
    EXPECT_EQ(table.Control(kOkId)->geometry(), Pixels(table, 65, 130, 50, 20));
    EXPECT_EQ(table.Control(411)->geometry(), Pixels(table, 29, 25, 40, 12));
    EXPECT_EQ(table.Control(423)->geometry(), Pixels(table, 74, 65, 15, 12));
    EXPECT_EQ(table.Control(420)->geometry(), Pixels(table, 94, 105, 75, 12));

    TemplateDialog input(InputTemplate(), playField_);
    EXPECT_EQ(input.size(), Pixels(input, 0, 0, 187, 79).size());
    EXPECT_EQ(input.Control(410)->geometry(), Pixels(input, 30, 25, 120, 15));
    EXPECT_EQ(input.Control(kOkId)->geometry(), Pixels(input, 65, 50, 55, 20));
}

TEST_F(DialogLayout, DialogsOpenAtTheirPlaceOverThePlayFieldAndModalToItsWindow)
{
    const QPoint field = playField_->mapToGlobal(QPoint(0, 0));
    struct Case {
        const DialogTemplate* layout;
        int x;
        int y;
    };
    for (const Case& c : {Case{&AboutTemplate(), 42, 29}, Case{&OptionTemplate(), 0, 0},
                          Case{&HighScoreTemplate(), 0, 16}, Case{&InputTemplate(), 0, 16}}) {
        TemplateDialog dialog(*c.layout, playField_);
        EXPECT_EQ(dialog.pos(), field + Pixels(dialog, c.x, c.y, 0, 0).topLeft()) << c.layout->title;
        EXPECT_EQ(dialog.parentWidget(), &gameWindow_);
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    }

    TemplateDialog alone(AboutTemplate(), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(QRect(alone.pos(), alone.size()).center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(QRect(alone.pos(), alone.size()).center().y() - screen.center().y()), 1);
}

TEST_F(DialogLayout, NoControlOverlapsAnotherOrLeavesTheDialogAndNoTextIsClipped)
{
    for (const DialogTemplate* layout : kAllTemplates) {
        TemplateDialog dialog(*layout, playField_);
        const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(controls.size(), static_cast<qsizetype>(layout->controls.size()));
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QRect a = controls[i]->geometry();
            EXPECT_TRUE(dialog.rect().contains(a)) << layout->title << " control " << i;
            for (qsizetype j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(a.intersects(controls[j]->geometry())) << layout->title << " controls " << i << ", " << j;
            if (auto* label = qobject_cast<QLabel*>(controls[i]); label != nullptr && !label->text().isEmpty()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                    << label->text().toStdString();
            }
            if (auto* button = qobject_cast<QPushButton*>(controls[i])) {
                EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - 8);
            }
        }
    }
}

TEST_F(DialogLayout, OnlyEditsAndButtonsTakeTheFocusAndTheFirstOneHasIt)
{
    struct Case {
        const DialogTemplate* layout;
        std::vector<int> focusable; // template order
        bool okIsDefault;
    };
    const Case cases[] = {
        {&AboutTemplate(), {kOkId}, true},
        {&OptionTemplate(), {402, 403, 404, 405, 406, 407, 408, 409, kOkId, kCancelId}, false},
        {&HighScoreTemplate(), {kOkId}, true},
        {&InputTemplate(), {410, kOkId}, false},
    };
    for (const Case& c : cases) {
        TemplateDialog dialog(*c.layout, playField_);
        std::vector<int> focusable;
        for (QWidget* control : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (control->focusPolicy() != Qt::NoFocus)
                focusable.push_back(control->objectName().toInt());
        EXPECT_EQ(focusable, c.focusable) << c.layout->title;
        EXPECT_EQ(dialog.focusWidget(), dialog.Control(c.focusable.front())) << c.layout->title;
        EXPECT_EQ(qobject_cast<QPushButton*>(dialog.Control(kOkId))->isDefault(), c.okIsDefault) << c.layout->title;
    }
}

TEST_F(DialogLayout, IconsShowTheProgramIconThroughItsMask)
{
    TemplateDialog about(AboutTemplate(), playField_);
    const QImage icon = qobject_cast<QLabel*>(about.Control(401))->pixmap().toImage();
    ASSERT_EQ(icon.size(), QSize(32, 32));
    int transparent = 0;
    int opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int alpha = qAlpha(icon.pixel(x, y));
            const bool maskWhite = (Icons().largeIcon.mask->At(x, y) & kColourBits) == kWhite;
            EXPECT_EQ(alpha, maskWhite ? 0 : 255) << x << "," << y;
            (alpha == 0 ? transparent : opaque) += 1;
        }
    EXPECT_GT(transparent, 0);
    EXPECT_GT(opaque, 0);
}

} // namespace
} // namespace ruvo

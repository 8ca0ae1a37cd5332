// The four dialogs and the Board dialog as the game builds them, in the face the system gives
// them here: every static and edit control's text fits its box on one line
// (an edit's margins left out), with a pixel to spare beside it, and each
// digit's ink stays within its own advance, so that digits never run into
// one another. The High-Score table holds the widest values a game makes in
// practice: seven-digit scores and three-digit rounds.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/dialog_text_fit.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_dialogs.h"
#include "render/icon.h"
#include "settings/dialog_templates.h"

namespace ruvo {
namespace {

INT_PTR CALLBACK Quiet(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct Dialog {
    const char* title;
    int texts = 0; // measured so far
};

BOOL CALLBACK CheckControl(HWND control, LPARAM context)
{
    Dialog& dialog = *reinterpret_cast<Dialog*>(context);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool edit = _wcsicmp(className, L"Edit") == 0;
    if (!edit && (_wcsicmp(className, L"Static") != 0 || (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON))
        return TRUE;
    wchar_t text[256] = {}, face[LF_FACESIZE] = {};
    GetWindowTextW(control, text, 256);
    RECT box{};
    GetClientRect(control, &box);
    const LRESULT margins = edit ? SendMessageW(control, EM_GETMARGINS, 0, 0) : 0;
    const int room = box.right - LOWORD(margins) - HIWORD(margins);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextFaceW(dc, LF_FACESIZE, face);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    bool digitsApart = true;
    for (const wchar_t* ch = text; *ch != 0; ++ch) {
        ABC abc{};
        if (*ch >= L'0' && *ch <= L'9' && GetCharABCWidthsW(dc, *ch, *ch, &abc) && (abc.abcA < 0 || abc.abcC < 0))
            digitsApart = false;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    ++dialog.texts;
    EXPECT_TRUE(size.cx + 1 <= room && size.cy <= box.bottom && digitsApart)
        << dialog.title << ": \"" << Narrow(text) << "\" in " << Narrow(face) << " is " << size.cx << " x " << size.cy
        << " in " << room << " x " << box.bottom << (digitsApart ? "" : ", digits overlap");
    return TRUE;
}

TEST(DialogText, EveryTextFitsItsBoxInTheFaceChosenHere)
{
    for (const DialogTemplate* layout :
         {&AboutTemplate(), &OptionTemplate(), &HighScoreTemplate(), &InputTemplate(), &BoardTemplate()}) {
        const std::vector<std::uint16_t> data = BuildDialogTemplate(*layout, kProgramIconGroup);
        HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                                 reinterpret_cast<const DLGTEMPLATE*>(data.data()), nullptr, Quiet, 0);
        ASSERT_NE(dialog, nullptr) << layout->title;
        for (int k = 0; k < 5; ++k) {
            SetDlgItemTextW(dialog, 411 + k, L"8888888");
            SetDlgItemTextW(dialog, 421 + k, L"888");
            SetDlgItemTextW(dialog, 416 + k, L"K.Dorrimak");
        }
        for (int id = 402; id <= 409; ++id)
            SetDlgItemTextW(dialog, id, id == 409 ? L"-99" : L"9999");
        SetDlgItemTextW(dialog, kBoardStatusId, L"Asking the board for a start...");
        std::vector<void*> fonts;
        FitDialogTexts(dialog, fonts);
        Dialog checked{layout->title};
        EnumChildWindows(dialog, CheckControl, reinterpret_cast<LPARAM>(&checked));
        EXPECT_GT(checked.texts, 0) << layout->title;
        DestroyWindow(dialog);
        ReleaseFittedFonts(fonts);
    }
}

} // namespace
} // namespace ruvo

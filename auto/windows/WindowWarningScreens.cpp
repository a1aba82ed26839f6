#include "WindowWarningScreens.h"

#include "AutoConfirmWindow.h"
#include "AutoSplashWindow.h"
#include "DoneWindow.h"

namespace valdora::autorun {

bool WindowWarningScreens::confirm(const ConfirmationTexts& texts)
{
    AutoConfirmWindow window(texts);
    window.exec();
    return window.answer();
}

void WindowWarningScreens::notice(const NoticeTexts& texts)
{
    AutoSplashWindow window(texts);
    window.exec();
}

void WindowWarningScreens::done(const QString& text)
{
    DoneWindow window(text);
    window.exec();
}

} // namespace valdora::autorun

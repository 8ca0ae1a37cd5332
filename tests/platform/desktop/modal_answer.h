// Answering the modal dialogs that a call runs, from inside their own event
// loops, as a player would: the desktop tests' dialogs, message boxes and
// viewers all run modal.
// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace ruvo::testing {

// Runs `open`, and `answer` on each new modal widget of kind T that shows
// while it runs; gives how many were answered.
template <class T> int AnswerModals(const std::function<void()>& open, const std::function<void(T&)>& answer)
{
    int answered = 0;
    QPointer<T> current;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (widget == nullptr || widget == current || !widget->isVisible())
            return;
        current = widget;
        ++answered;
        answer(*widget);
    });
    poll.start(1);
    open();
    return answered;
}

} // namespace ruvo::testing

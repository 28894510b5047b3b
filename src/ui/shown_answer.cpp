#include "ui/shown_answer.h"

#include <QPointer>
#include <QWidget>

#include "ui/operator_messages.h"

StationClient::Answer ShownAnswer(QWidget* parent) {
    return [parent = QPointer<QWidget>(parent)](const Result& done) {
        if (parent) ShowError(parent, done.message());
    };
}

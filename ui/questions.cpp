#include "ui/questions.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/errorbox.h"

namespace velmora {

QString QuestionText(Question question) {
    return QString::fromLatin1(question == Question::SaveChanges ? kSaveChangesQuestion
                                                                 : kCalculateBeforePrintQuestion);
}

Answer AskInMessageBox(QWidget* owner, Question question) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kApplicationTitle),
                    QuestionText(question), QMessageBox::NoButton, owner);
    QAbstractButton* save = nullptr;
    QAbstractButton* discard = nullptr;
    QAbstractButton* calculate = nullptr;
    if (question == Question::SaveChanges) {
        save = box.addButton(QMessageBox::Save);
        discard = box.addButton(QMessageBox::Discard);
        box.setDefaultButton(static_cast<QPushButton*>(save));
    } else {
        calculate = box.addButton(QStringLiteral("&Calculate"), QMessageBox::AcceptRole);
        box.setDefaultButton(static_cast<QPushButton*>(calculate));
    }
    box.setEscapeButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked != nullptr && clicked == save)
        return Answer::Save;
    if (clicked != nullptr && clicked == discard)
        return Answer::Discard;
    if (clicked != nullptr && clicked == calculate)
        return Answer::Calculate;
    return Answer::Cancel;
}

}  // namespace velmora

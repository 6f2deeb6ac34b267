#pragma once
// The texts of a dialog's button box, sorted: what a user reads on its buttons, in any language.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QStringList>
#include <QWidget>

namespace zolm::test {

inline QStringList buttonTexts(const QWidget &w)
{
    QStringList texts;
    for (const QAbstractButton *b : w.findChild<QDialogButtonBox *>()->buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

} // namespace zolm::test

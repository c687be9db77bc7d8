#pragma once

#include <QString>
#include <QStringView>

// A button's caption as a sentence shows it: the "&" that marks the letter
// of its Alt key dropped, and "&&" (an ampersand the caption shows) written
// once. For a caption read outside its button: a tip, a window title, a line
// of `diff`.
inline QString Plain_Caption(QStringView caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

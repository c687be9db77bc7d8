#pragma once

#include "core/messages.h"
#include "inspector/image_names.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <limits>

// What an image holds that the compiler never writes, as the messages the
// inspector prints: the reader learns which field, what it holds and what
// belongs there. Shared by the two decoders.
class Findings
{
public:
    explicit Findings(QStringList &problems)
        : problems_(problems)
    {}

    void Fixed(const QString &field, const QString &value, const QString &expected)
    {
        if (value != expected)
            problems_ << Messages().Get(Msg_Dump_Fixed_Field).arg(field, value, expected);
    }
    void Fixed(const QString &field, std::uint32_t value, std::uint32_t expected)
    {
        if (value != expected)
            Fixed(field, QString::number(value), QString::number(expected));
    }
    void Fixed_Address(const QString &field, std::uint32_t value, std::uint32_t expected)
    {
        if (value != expected)
            Fixed(field, Hex32(value), Hex32(expected));
    }
    void In_Range(const QString &field, qint64 value, qint64 lowest, qint64 highest)
    {
        if (value < lowest || value > highest)
            problems_ << Messages()
                             .Get(Msg_Dump_Out_Of_Range)
                             .arg(field, QString::number(value), QString::number(lowest), QString::number(highest));
    }
    // A non-zero byte at `offset` where the layout holds only zeros.
    void Stray(std::size_t offset)
    {
        ++stray_;
        first_stray_ = std::min(first_stray_, offset);
    }
    void Add(const QString &problem) { problems_ << problem; }
    // The stray bytes found, as one message; called once, at the end.
    void Report_Stray()
    {
        if (stray_ > 0)
            problems_ << Messages().Get(Msg_Dump_Stray_Bytes).arg(QString::number(stray_), Hex_Offset(first_stray_));
    }

private:
    QStringList &problems_;
    qint64 stray_ = 0;
    std::size_t first_stray_ = std::numeric_limits<std::size_t>::max();
};

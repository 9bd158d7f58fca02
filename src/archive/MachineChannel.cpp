#include "MachineChannel.h"

MachineChannel::MachineChannel(std::FILE* out)
    : out(out)
{
}

QByteArray MachineChannel::Escape(const QString& text)
{
    QByteArray escaped;
    for (const char byte : text.toLatin1()) {
        if (byte == '\\')
            escaped += "\\\\";
        else if (byte == '\r')
            escaped += "\\r";
        else if (byte == '\n')
            escaped += "\\n";
        else
            escaped += byte;
    }
    return escaped;
}

QString MachineChannel::Unescape(const QByteArray& escaped)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const char byte = escaped[i];
        if (byte != '\\' || i + 1 == escaped.size()) {
            bytes += byte;
            continue;
        }
        const char next = escaped[++i];
        bytes += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return QString::fromLatin1(bytes);
}

void MachineChannel::AppendLog(const QString& text)
{
    Line("log " + Escape(text));
}

void MachineChannel::SetRange(int minimum, int maximum)
{
    rangeEnd = maximum;
    Line("range " + QByteArray::number(minimum) + ' ' + QByteArray::number(maximum));
}

void MachineChannel::SetPosition(int position)
{
    // Every line of a listing moves the position; a line per kilobyte is
    // plenty for a progress bar and keeps the pipe quiet.
    if (position != rangeEnd && lastPosition >= 0 && position > lastPosition && position - lastPosition < 1024)
        return;
    lastPosition = position;
    Line("progress " + QByteArray::number(position));
}

void MachineChannel::Name(const QString& archiveName)
{
    Line("name " + archiveName.toLatin1());
}

void MachineChannel::Error(const QString& message)
{
    Line("error " + Escape(message));
}

void MachineChannel::Done(int status)
{
    Line("done " + QByteArray::number(status));
}

void MachineChannel::Line(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), out);
    std::fputc('\n', out);
    std::fflush(out);
}

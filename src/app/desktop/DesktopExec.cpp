#include "app/desktop/DesktopExec.h"

namespace brisko::desktop {

namespace {

// Undoes the escapes of a string value in a desktop entry.
QString unescapeValue(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        default:
            text += value[i];
            break;
        }
    }
    return text;
}

bool isFileCode(QChar code) {
    return code == u'f' || code == u'F' || code == u'u' || code == u'U';
}

} // namespace

QString withoutFieldCodes(QString argument) {
    return argument.replace(u'%', QStringLiteral("%%"));
}

QString execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const QString text = withoutFieldCodes(argument);
    const bool needsQuotes = text.isEmpty() || std::any_of(text.begin(), text.end(), [](QChar c) {
                                 return reserved.contains(c);
                             });
    QString written = text;
    if (needsQuotes) {
        written = QStringLiteral("\"");
        for (QChar c : text) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                written += u'\\';
            written += c;
        }
        written += u'"';
    }
    return written.replace(u'\\', QStringLiteral("\\\\"));
}

QStringList splitExec(const QString& value) {
    const QString line = unescapeValue(value);
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < line.size())
                current += line[++i];
            else
                current += c;
        } else if (c == u'"') {
            quoted = inArgument = true;
        } else if (c.isSpace()) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

QStringList expandFieldCodes(const QStringList& arguments, const QString& file) {
    QStringList expanded;
    bool fileGiven = false;
    for (const QString& argument : arguments) {
        QString text;
        bool hadCode = false;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != u'%' || i + 1 == argument.size()) {
                text += argument[i];
                continue;
            }
            const QChar code = argument[++i];
            if (code == u'%') {
                text += u'%';
                continue;
            }
            hadCode = true;
            if (isFileCode(code) && !fileGiven) {
                text += file;
                fileGiven = true;
            }
        }
        if (!text.isEmpty() || !hadCode)
            expanded << text;
    }
    if (!fileGiven)
        expanded << file;
    return expanded;
}

} // namespace brisko::desktop

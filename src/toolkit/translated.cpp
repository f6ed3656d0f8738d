#include "toolkit/translated.h"

#include <QCoreApplication>

namespace toolkit {

QString translated(const platform::UiText &text)
{
    std::vector<std::string> values;
    for (const platform::UiText &part : text.args())
        values.push_back(translated(part).toStdString());
    const QString pattern = *text.context() == '\0'
                                ? QString::fromStdString(text.source())
                                : QCoreApplication::translate(text.context(), text.source().c_str());
    return QString::fromStdString(platform::UiText::fillIn(pattern.toStdString(), values));
}

} // namespace toolkit

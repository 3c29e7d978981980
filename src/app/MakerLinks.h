#pragma once

#include "widgets/UrlLink.h"

namespace brisko::app {

// The maker's name and addresses, shown in the title panel and the About box.
inline const QString kMakerName = QStringLiteral("Brisko Software");
inline const QString kMakerWebSite = QStringLiteral("www.brisko.example");
inline const QString kMakerMail = QStringLiteral("support@brisko.example");

// A link to the maker's web site or mail address. A click on the mail link first puts the
// program's version text, in brackets, into the mail's subject.
widgets::TUrlLink* makerLink(QWidget* parent, widgets::TUrlLink::TAddressType type,
                             const char* name);

} // namespace brisko::app

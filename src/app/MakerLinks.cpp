#include "app/MakerLinks.h"

#include "app/Version.h"

namespace brisko::app {

widgets::TUrlLink* makerLink(QWidget* parent, widgets::TUrlLink::TAddressType type,
                             const char* name) {
    using widgets::TUrlLink;
    auto* link = new TUrlLink(parent);
    link->setObjectName(QString::fromLatin1(name));
    link->setAddressType(type);
    if (type == TUrlLink::atMail) {
        link->setAddress(kMakerMail);
        QObject::connect(link, &TUrlLink::clicked, link, [link] {
            link->setEmailSubject(
                QStringLiteral("[%1]").arg(QString::fromStdString(versionString())));
        });
    } else {
        link->setAddress(kMakerWebSite);
    }
    return link;
}

} // namespace brisko::app

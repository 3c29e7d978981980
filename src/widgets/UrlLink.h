#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>
#include <functional>

namespace brisko::widgets {

// A label that opens a web address or a new mail message when clicked. While the mouse is
// over it, its text is underlined and drawn in the active colour.
class TUrlLink : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString address READ address WRITE setAddress)
    Q_PROPERTY(QString EmailSubject READ emailSubject WRITE setEmailSubject)
    Q_PROPERTY(TAddressType AddressType READ addressType WRITE setAddressType)
    Q_PROPERTY(QColor ActiveColor READ activeColor WRITE setActiveColor)

public:
    enum TAddressType { atMail, atWWW };
    Q_ENUM(TAddressType)

    // Hands a finished target to the desktop; replaceable so that nothing is opened in tests.
    using Opener = std::function<void(const QUrl&)>;

    explicit TUrlLink(QWidget* parent = nullptr);

    // The address without its scheme: "www.example.org" or "someone@example.org".
    const QString& address() const { return address_; }
    void setAddress(const QString& address);
    const QString& emailSubject() const { return emailSubject_; }
    void setEmailSubject(const QString& subject) { emailSubject_ = subject; }
    TAddressType addressType() const { return addressType_; }
    void setAddressType(TAddressType type) { addressType_ = type; }
    const QColor& activeColor() const { return activeColor_; }
    void setActiveColor(const QColor& colour) { activeColor_ = colour; }

    void setOpener(Opener opener) { opener_ = std::move(opener); }

    // What a click opens: "mailto:" or "http://" before the address; a mail subject goes
    // after "?Subject=" without any '"' or '?', which would end or break the subject.
    static QString target(TAddressType type, const QString& address, const QString& subject);

signals:
    // Raised before the target is built, so a handler may still change the subject.
    void clicked();
    void mouseEntered();
    void mouseExited();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setUnderlined(bool underlined);
    void setTextColour(const QColor& colour);

    QString address_;
    QString emailSubject_;
    TAddressType addressType_ = atWWW;
    QColor activeColor_{255, 0, 0};
    Opener opener_;
    // Restored when the mouse leaves.
    QColor restColour_;
    bool underlinedAtRest_ = false;
};

} // namespace brisko::widgets

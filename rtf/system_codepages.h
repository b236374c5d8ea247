#pragma once
#include <QByteArrayView>
#include <QString>
#include <memory>

namespace rtf {

// One code page as the platform decodes it: ICU's tables through Qt on Linux,
// Windows' own tables on Windows (its Qt is built without ICU). On both, a
// character that does not decode becomes U+001A, the substitute character, and
// a lead byte left without its trail byte at the end of the bytes is dropped.
class SystemCodePage
{
public:
    virtual ~SystemCodePage() = default;
    virtual void decode(QByteArrayView bytes, QString &out) = 0;
};

// Null when the platform has no table for the code page.
std::unique_ptr<SystemCodePage> openSystemCodePage(int codePage);

} // namespace rtf

#include "ImageList.h"

namespace platform {

void ImageList::add(const QString& key, const QIcon& picture)
{
    if (!m_pictures.contains(key))
        m_keys.append(key);
    m_pictures.insert(key, picture);
}

} // namespace platform

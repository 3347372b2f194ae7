#include "ImageList.h"

namespace platform {

void ImageList::add(const QString& key, const QIcon& picture)
{
    m_pictures.insert(key, picture);
}

} // namespace platform

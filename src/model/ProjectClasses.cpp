#include "model/ProjectClasses.h"

namespace uzuviv {

void CopyProject(const TProjectType* source, TProjectType* destination)
{
    if (source == nullptr || destination == nullptr || source == destination)
        return;
    *destination = *source;
}

bool RecordsDiffer(const TGPSRecord& a, const TGPSRecord& b)
{
    return a.Latitude != b.Latitude || a.Longitude != b.Longitude || a.Tolerance != b.Tolerance
        || a.Mode != b.Mode || a.FileRef != b.FileRef || a.Comments != b.Comments;
}

bool ProjectsDiffer(const TProjectType& a, const TProjectType& b)
{
    if (a.ProjectName != b.ProjectName || a.Subject != b.Subject || a.Author != b.Author
        || a.Copyright != b.Copyright || a.Customer != b.Customer
        || a.CreationDate != b.CreationDate || a.ProjectComments != b.ProjectComments
        || a.Records.size() != b.Records.size())
        return true;
    for (std::size_t i = 0; i < a.Records.size(); ++i)
        if (RecordsDiffer(a.Records[i], b.Records[i]))
            return true;
    return false;
}

} // namespace uzuviv

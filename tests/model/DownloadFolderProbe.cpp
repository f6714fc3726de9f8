#include "model/DownloadFolderSearch.h"

#include <iostream>

// Prints the default download folder found under this process's HOME and TMPDIR, for tests
// that run the search as another user or with another environment.
int main()
{
    std::cout << findDefaultDownloadFolder() << std::endl;
    return 0;
}

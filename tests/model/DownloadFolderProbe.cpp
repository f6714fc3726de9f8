#include "model/DownloadFolderSearch.h"

#include <iostream>

#include <sys/stat.h>

// Prints the default download folder found under this process's HOME and TMPDIR, for tests
// that run the search as another user or with another environment. With umask 0, so that the
// modes of the folders it makes are the ones the search asks for.
int main()
{
    ::umask (0);
    std::cout << findDefaultDownloadFolder() << std::endl;
    return 0;
}

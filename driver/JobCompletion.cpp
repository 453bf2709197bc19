#include "driver/PageConversion.h"

namespace velmo::driver {

// No page file is written yet, so there is nothing to hand to the client program.
void completeJob()
{
}

}

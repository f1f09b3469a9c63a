// The open main database and the record sets the window keeps for the whole run.
#pragma once

namespace wb {

class Records {
public:
};

}  // namespace wb

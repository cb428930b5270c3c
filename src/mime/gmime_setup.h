#pragma once

namespace qb {

/// Sets GMime up the first time it is called; every user of GMime calls it first.
void InitialiseGmimeOnce();

} // namespace qb

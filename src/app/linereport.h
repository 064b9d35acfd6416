#pragma once
// Every line search of the last run as CSV (of each compared method, after a comparison), found
// by running it again, as it was, with each line search told.
#include <string>

#include "app/session.h"

namespace metopt::app {

// "method,iteration,kind,n,a,b,t1,phi1,t2,phi2": for each line search its scan's points ("scan":
// n, t1 and phi1), each step ("step": the interval after it and its trial points; empty where a
// step has none) and the multiplier taken ("result": the bracket and t1). Raises "No descent has
// run yet" before a run, and what the run raises.
std::string LineSearchCsv(const TSession& session);
void WriteLineSearchCsv(const TSession& session, const std::string& fileName);

}  // namespace metopt::app

#include "job/split_job.h"

SplitJob split_job;

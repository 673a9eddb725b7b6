// Resource names of scrivet.
#pragma once

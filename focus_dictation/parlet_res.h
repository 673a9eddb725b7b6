// Resource names of parlet.
#pragma once

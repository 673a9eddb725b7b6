// Resource names of quillet.
#pragma once

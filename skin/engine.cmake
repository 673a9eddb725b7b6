# The drawing half of the skin engine (Windows only).

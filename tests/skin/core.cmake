# Native tests and fuzz targets of the pure skin logic.

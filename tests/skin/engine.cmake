# Drawing tests under Wine.

// The content tool.

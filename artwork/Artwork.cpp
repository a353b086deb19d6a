// Artwork of the product.
